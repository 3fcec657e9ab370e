# The Windows program's tests, run under Wine (the toolchain's CMAKE_CROSSCOMPILING_EMULATOR):
# the unit test programs, each run once (Wine takes seconds to start a process, so not one
# process per test), every golden replay case through kestran.exe, a save and a load through a
# folder with a Japanese name, the window under Xvfb, and the installer. `bash scripts/test.sh
# windows` runs them in a Wine prefix of their own.
#
# Linux only, left out here: the fault tests that kill a child at each write or mount private
# file systems (file_faults_test, save_faults_test), the platform tests (tmux, Xlib, the
# terminal, the POSIX file system), the install and Debian package tests (lintian), the bot,
# the fuzz corpora and the replay runner's own tests.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(KESTRAN_LINUX_ONLY_TEST_FILES runtime/values/file_faults_test.cpp game/saves/save_faults_test.cpp)
# Tests that compare with this machine's iconv, or make symlinks (Wine has none).
set(KESTRAN_LINUX_ONLY_TESTS Cp932Table.GeneratorReproducesCommittedTable FilesTest.SymlinksAreReplacedNeverFollowed)

function(kestran_windows_test_program name)
  cmake_parse_arguments(T "" "" "DIRS;LIBS" ${ARGN})
  kestran_test_executable(${name} DIRS ${T_DIRS} LIBS ${T_LIBS} EXCLUDE ${KESTRAN_LINUX_ONLY_TEST_FILES})
  string(REPLACE ";" ":" excluded "${KESTRAN_LINUX_ONLY_TESTS}")
  add_test(NAME windows.${name} COMMAND ${name} --gtest_brief=1 --gtest_filter=-${excluded})
  set_tests_properties(windows.${name} PROPERTIES TIMEOUT 600)
endfunction()

kestran_windows_test_program(values_tests DIRS runtime/values LIBS kestran_values kestran_runtime)
kestran_windows_test_program(runtime_tests DIRS runtime/console runtime/frame LIBS kestran_runtime kestran_headless)
kestran_windows_test_program(game_tests DIRS game LIBS kestran_game kestran_runtime kestran_headless)
target_sources(game_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/runtime/values/file_test_support.cpp)
add_dependencies(runtime_tests kestran_errmsg)

add_subdirectory(replay)

# A save and its load through a drives folder whose path has Japanese in it, as a user folder
# such as C:\Users\山田\ has: the save-and-reload case, played where the path goes through every
# wide call of the program.
add_test(NAME windows.save_and_load_in_a_japanese_folder
  COMMAND ${CMAKE_COMMAND}
    -DPROGRAM=$<TARGET_FILE:kestran>
    -DTRACE_DIFF=$<TARGET_FILE:trace_diff>
    "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
    -DCASE_DIR=${CMAKE_CURRENT_SOURCE_DIR}/replay/town_save_and_reload
    -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/山田のセーブ
    -P ${CMAKE_CURRENT_SOURCE_DIR}/replay/run_replay.cmake)

# The window under Wine in an X server of its own: its picture of the title equals the headless
# one. Skipped (77) without xvfb-run, xdotool, xwd or netpbm.
add_test(NAME windows.window_shows_the_title
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/window_test.sh $<TARGET_FILE:kestran>
          ${CMAKE_CURRENT_BINARY_DIR}/window)
set_tests_properties(windows.window_shows_the_title PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 200)

# The installer installed silently, the installed program run to a save, and uninstalled with
# the save left (after `--target windows_packages`).
add_test(NAME windows.installer_keeps_the_saves
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/installer_test.sh
          ${CMAKE_BINARY_DIR}/dist/kestran-${PROJECT_VERSION}-setup.exe ${CMAKE_CURRENT_BINARY_DIR}/installer
          ${CMAKE_CURRENT_SOURCE_DIR}/replay/town_new_game)
set_tests_properties(windows.installer_keeps_the_saves PROPERTIES TIMEOUT 300)
