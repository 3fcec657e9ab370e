# A test program made of every .cpp under the folders DIRS (less the files named in EXCLUDE,
# relative to this folder), linked to LIBS and GoogleTest, and told where the sources and the
# build live. How its tests are registered is the caller's choice.
function(kestran_test_executable name)
  cmake_parse_arguments(T "" "" "DIRS;LIBS;EXCLUDE" ${ARGN})
  set(sources)
  foreach(dir ${T_DIRS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  foreach(file ${T_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${file})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${KESTRAN_SRC} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE kestran_warnings ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    KESTRAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KESTRAN_BINARY_DIR="${CMAKE_BINARY_DIR}")
endfunction()
