# An install into a folder the user may not write to stops before copying anything, with a
# message that says so. Root writes everywhere, so as root the install runs as the user nobody.
# Arguments: BUILD_DIR, WORK_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(CHMOD ${WORK_DIR} PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(as_user)
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
if(uid STREQUAL "0")
  find_program(SETPRIV setpriv)
  if(NOT SETPRIV)
    message(STATUS "running as root without setpriv: nothing to check")
    return()
  endif()
  set(as_user ${SETPRIV} --reuid=65534 --regid=65534 --clear-groups)
  # A build in a folder only root may enter (a clone in a private temporary folder) cannot be
  # read by that user: nothing can be checked there.
  execute_process(COMMAND ${as_user} test -r ${BUILD_DIR}/cmake_install.cmake RESULT_VARIABLE unreadable)
  if(unreadable)
    message("SKIP: the user nobody cannot read ${BUILD_DIR}")
    return()
  endif()
endif()

execute_process(COMMAND ${as_user} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/usr
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(CHMOD ${WORK_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
if(status EQUAL 0)
  message(FATAL_ERROR "the install into a closed folder succeeded:\n${out}${err}")
endif()
string(REGEX REPLACE "[ \n]+" " " err "${err}")  # CMake wraps its messages
if(NOT err MATCHES "cannot install into ${WORK_DIR}/usr: this user may not write in ${WORK_DIR}")
  message(FATAL_ERROR "the refusal does not say why:\n${err}")
endif()
if(out MATCHES "Installing:")
  message(FATAL_ERROR "files were copied before the refusal:\n${out}")
endif()
