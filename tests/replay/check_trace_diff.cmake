# Changes the first title line of a golden trace and checks that the comparer names its wait and
# row. Arguments: TRACE_DIFF, EXPECTED, CHANGED.
include(${CMAKE_CURRENT_LIST_DIR}/change_title.cmake)
kestran_change_title(${EXPECTED} ${CHANGED} KESTRAL)

execute_process(COMMAND ${TRACE_DIFF} ${EXPECTED} ${CHANGED} RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 1 OR NOT out MATCHES "wait 1 x, screen row 5\n  expected: +KESTRAN\n  actual: +KESTRAL")
  message(FATAL_ERROR "trace_diff said (status ${status}):\n${out}")
endif()
execute_process(COMMAND ${TRACE_DIFF} ${EXPECTED} ${EXPECTED} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "trace_diff finds a difference between a trace and itself")
endif()
