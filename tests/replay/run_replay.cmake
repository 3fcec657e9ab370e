# Runs one golden case (see CMakeLists.txt). Arguments: PROGRAM, TRACE_DIFF, CASE_DIR, WORK_DIR.
# A case may bring a `drives` folder (save files to load), copied in before the first run, and a
# second script `keys.2`, run afterwards on the same drives (the program started again after a
# save) and compared with `expected.2.trace`.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/drives)
if(IS_DIRECTORY ${CASE_DIR}/drives)
  file(COPY ${CASE_DIR}/drives/ DESTINATION ${WORK_DIR}/drives)
endif()
file(READ ${CASE_DIR}/seed seed)
string(STRIP "${seed}" seed)

# One run of the program with the script keys${suffix}, traced into actual${suffix}.trace.
function(replay_run suffix)
  set(actual ${WORK_DIR}/actual${suffix}.trace)
  set(expected ${CASE_DIR}/expected${suffix}.trace)
  execute_process(
    COMMAND ${PROGRAM} --backend=headless --seed=${seed} --keys-file=${CASE_DIR}/keys${suffix}
            --drives=${WORK_DIR}/drives --trace=${actual}
    RESULT_VARIABLE status
    ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "kestran ended with status ${status}: ${errors}")
  endif()

  if("$ENV{KESTRAN_UPDATE_GOLDEN}" STREQUAL "1")
    file(COPY_FILE ${actual} ${expected})
    message(STATUS "rewrote ${expected}")
    return()
  endif()

  execute_process(
    COMMAND ${TRACE_DIFF} ${expected} ${actual}
    RESULT_VARIABLE different
    OUTPUT_VARIABLE where)
  if(different)
    execute_process(COMMAND diff -u ${expected} ${actual} OUTPUT_VARIABLE diff)
    message(FATAL_ERROR "the trace differs from ${expected}\n${where}\n${diff}")
  endif()
endfunction()

replay_run("")
if(EXISTS ${CASE_DIR}/keys.2)
  replay_run(".2")
endif()
