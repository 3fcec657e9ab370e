# kestran_warnings: the warning set every target of the project builds with.
add_library(kestran_warnings INTERFACE)
target_compile_options(kestran_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Wunused -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
# GCC 12 reports false -Wrestrict overlaps inside std::string concatenation at -O2 (GCC bug
# 105329); the check finds nothing real in this code base, so it is switched off rather than
# worked around at every concatenation.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(kestran_warnings INTERFACE -Wno-restrict)
endif()
if(KESTRAN_WERROR)
  target_compile_options(kestran_warnings INTERFACE -Werror)
endif()

# Adds a library of the project with the include root and the warning set.
function(kestran_library name)
  add_library(${name} ${ARGN})
  target_include_directories(${name} PUBLIC ${KESTRAN_SRC})
  target_link_libraries(${name} PRIVATE kestran_warnings)
endfunction()
