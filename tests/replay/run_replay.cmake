# Runs one golden case (see CMakeLists.txt). Arguments: PROGRAM, CASE_DIR, WORK_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/drives)
file(READ ${CASE_DIR}/seed seed)
string(STRIP "${seed}" seed)

execute_process(
  COMMAND ${PROGRAM} --backend=headless --seed=${seed} --keys-file=${CASE_DIR}/keys
          --drives=${WORK_DIR}/drives --trace=${WORK_DIR}/actual.trace
  RESULT_VARIABLE status
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "kestran ended with status ${status}: ${errors}")
endif()

if("$ENV{KESTRAN_UPDATE_GOLDEN}" STREQUAL "1")
  file(COPY_FILE ${WORK_DIR}/actual.trace ${CASE_DIR}/expected.trace)
  message(STATUS "rewrote ${CASE_DIR}/expected.trace")
  return()
endif()

execute_process(
  COMMAND ${CMAKE_COMMAND} -E compare_files ${CASE_DIR}/expected.trace ${WORK_DIR}/actual.trace
  RESULT_VARIABLE different)
if(different)
  execute_process(COMMAND diff -u ${CASE_DIR}/expected.trace ${WORK_DIR}/actual.trace OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "the trace differs from ${CASE_DIR}/expected.trace:\n${diff}")
endif()
