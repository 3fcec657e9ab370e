# Runs one golden case (see CMakeLists.txt). Arguments: PROGRAM, TRACE_DIFF, CASE_DIR, WORK_DIR,
# and EMULATOR (a list) when the programs run under one (Wine, for the Windows build).
# A case may bring a `drives` folder (save files to load), copied in before the first run, and a
# second script `keys.2`, run afterwards on the same drives (the program started again after a
# save) and compared with `expected.2.trace`. A case may name further options of the program, one
# to a line, in `options` (--trace-accessible: its traces carry the screens' words).
#
# A long case (a whole game of tens of thousands of keys traces tens of megabytes) keeps its
# expected traces xz-packed as `expected.trace.tar.xz` (and `expected.2.trace.tar.xz`): the
# screens repeat so much that they pack a thousandfold, which keeps such a case affordable in the
# repository while a failure still names the first wait and row that differ. Such a case is
# unpacked before the comparison and packed again on an update; its long diff is not printed.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/drives)
if(IS_DIRECTORY ${CASE_DIR}/drives)
  file(COPY ${CASE_DIR}/drives/ DESTINATION ${WORK_DIR}/drives)
endif()
file(READ ${CASE_DIR}/seed seed)
string(STRIP "${seed}" seed)
set(options "")
if(EXISTS ${CASE_DIR}/options)
  file(STRINGS ${CASE_DIR}/options options)
endif()

# One run of the program with the script keys${suffix}, traced into actual${suffix}.trace.
function(replay_run suffix)
  set(actual ${WORK_DIR}/actual${suffix}.trace)
  set(expected ${CASE_DIR}/expected${suffix}.trace)
  set(packed ${CASE_DIR}/expected${suffix}.trace.tar.xz)
  execute_process(
    COMMAND ${EMULATOR} ${PROGRAM} --backend=headless --seed=${seed} --keys-file=${CASE_DIR}/keys${suffix}
            --drives=${WORK_DIR}/drives --trace=${actual} ${options}
    TIMEOUT 240
    RESULT_VARIABLE status
    ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "kestran ended with status ${status}: ${errors}")
  endif()

  if(EXISTS ${packed})
    replay_compare_packed(${actual} ${packed} expected${suffix}.trace)
    return()
  endif()

  if("$ENV{KESTRAN_UPDATE_GOLDEN}" STREQUAL "1")
    file(COPY_FILE ${actual} ${expected})
    message(STATUS "rewrote ${expected}")
    return()
  endif()

  # The comparer only names where equal traces part (and under an emulator it costs a start).
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${expected} ${actual} RESULT_VARIABLE different)
  if(NOT different)
    return()
  endif()
  execute_process(
    COMMAND ${EMULATOR} ${TRACE_DIFF} ${expected} ${actual}
    RESULT_VARIABLE different
    OUTPUT_VARIABLE where)
  if(different)
    execute_process(COMMAND diff -u ${expected} ${actual} OUTPUT_VARIABLE diff)
    message(FATAL_ERROR "the trace differs from ${expected}\n${where}\n${diff}")
  endif()
endfunction()

# Compares `actual` with the trace packed in `packed` under the name `member`, or packs `actual`
# there on an update. The fixed time stamp keeps a repacked unchanged trace byte for byte the same.
function(replay_compare_packed actual packed member)
  set(unpacked ${WORK_DIR}/unpacked)
  file(REMOVE_RECURSE ${unpacked})
  file(MAKE_DIRECTORY ${unpacked})
  if("$ENV{KESTRAN_UPDATE_GOLDEN}" STREQUAL "1")
    file(COPY_FILE ${actual} ${unpacked}/${member})
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E tar cJf ${packed} --mtime=2000-01-01 ${member}
      WORKING_DIRECTORY ${unpacked}
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "could not pack ${packed}")
    endif()
    message(STATUS "rewrote ${packed}")
    return()
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar xf ${packed}
    WORKING_DIRECTORY ${unpacked}
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT EXISTS ${unpacked}/${member})
    message(FATAL_ERROR "${packed} does not hold ${member}")
  endif()
  execute_process(
    COMMAND ${EMULATOR} ${TRACE_DIFF} ${unpacked}/${member} ${actual}
    RESULT_VARIABLE different
    OUTPUT_VARIABLE where)
  if(different)
    message(FATAL_ERROR "the trace differs from ${packed}\n${where}\n(compare ${unpacked}/${member} with ${actual})")
  endif()
endfunction()

replay_run("")
if(EXISTS ${CASE_DIR}/keys.2)
  replay_run(".2")
endif()
