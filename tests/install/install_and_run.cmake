# Installs the build into a fresh prefix and runs the installed program from there.
# Arguments: BUILD_DIR, WORK_DIR.
include(${BUILD_DIR}/kestran_install_layout.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/installed_tree.cmake)
set(prefix ${WORK_DIR}/usr)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the install failed (${status}):\n${out}${err}")
endif()
kestran_check_installed_tree(${prefix} ${prefix} ${WORK_DIR})
