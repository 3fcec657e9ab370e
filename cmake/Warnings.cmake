# kestran_warnings: the warning set every target of the project builds with.
add_library(kestran_warnings INTERFACE)
target_compile_options(kestran_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Wunused -Woverloaded-virtual -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough)
if(KESTRAN_WERROR)
  target_compile_options(kestran_warnings INTERFACE -Werror)
endif()

# Adds a library of the project with the include root and the warning set.
function(kestran_library name)
  add_library(${name} ${ARGN})
  target_include_directories(${name} PUBLIC ${KESTRAN_SRC})
  target_link_libraries(${name} PRIVATE kestran_warnings)
endfunction()
