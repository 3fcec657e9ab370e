# A case whose expected trace is packed passes when the run matches it and fails, naming the
# wait, when one row differs. Arguments: PROGRAM, TRACE_DIFF, SOURCE_CASE (a case with a plain
# expected.trace), WORK_DIR.
set(case ${WORK_DIR}/case)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${case} ${WORK_DIR}/pack)
file(COPY ${SOURCE_CASE}/keys ${SOURCE_CASE}/seed DESTINATION ${case})

function(pack_trace trace)
  file(COPY_FILE ${trace} ${WORK_DIR}/pack/expected.trace)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cJf ${case}/expected.trace.tar.xz expected.trace
                  WORKING_DIRECTORY ${WORK_DIR}/pack)
endfunction()

function(run_case outcome)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=${PROGRAM} -DTRACE_DIFF=${TRACE_DIFF} -DCASE_DIR=${case}
            -DWORK_DIR=${WORK_DIR}/run -P ${CMAKE_CURRENT_LIST_DIR}/run_replay.cmake
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
  set(${outcome} "${status}" PARENT_SCOPE)
  set(${outcome}_text "${out}${err}" PARENT_SCOPE)
endfunction()

pack_trace(${SOURCE_CASE}/expected.trace)
run_case(same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "a packed trace that matches failed:\n${same_text}")
endif()

# The title's name on the first screen, changed in place.
include(${CMAKE_CURRENT_LIST_DIR}/change_title.cmake)
kestran_change_title(${SOURCE_CASE}/expected.trace ${WORK_DIR}/changed.trace KESTRAM)
pack_trace(${WORK_DIR}/changed.trace)
run_case(different)
if(different EQUAL 0)
  message(FATAL_ERROR "a packed trace with a changed row passed")
endif()
if(NOT different_text MATCHES "first difference at line")
  message(FATAL_ERROR "the failure does not name where the traces part:\n${different_text}")
endif()
