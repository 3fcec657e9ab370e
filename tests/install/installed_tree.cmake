# Checks an installed tree and runs the program from it, with a home of its own under WORK_DIR.
# TREE is the folder that holds what the install put under its prefix; PREFIX is that prefix as
# the installed files name it (the same folder for an install, /usr for an unpacked package).
# The layout comes from the build's kestran_install_layout.cmake.
function(kestran_check_installed_tree TREE PREFIX WORK_DIR)
  # Where the program looks from its own folder must be where the install put the files.
  set(bin ${TREE}/${KESTRAN_LAYOUT_BINDIR})
  set(share ${TREE}/${KESTRAN_LAYOUT_DATADIR})
  foreach(file
      ${bin}/kestran
      ${bin}/${KESTRAN_LAYOUT_ERRMSG_FROM_BIN}/libkestran_errmsg.so
      ${bin}/${KESTRAN_LAYOUT_HELP_FROM_BIN}/kestran.html
      ${bin}/${KESTRAN_LAYOUT_HELP_FROM_BIN}/town.png
      ${share}/applications/kestran.desktop
      ${share}/icons/hicolor/16x16/apps/kestran.png
      ${share}/icons/hicolor/256x256/apps/kestran.png
      ${TREE}/${KESTRAN_LAYOUT_MANDIR}/man6/kestran.6.gz
      ${TREE}/${KESTRAN_LAYOUT_DOCDIR}/copyright
      ${TREE}/${KESTRAN_LAYOUT_DOCDIR}/changelog.gz)
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "not installed: ${file}")
    endif()
  endforeach()

  # The help file names the pictures it shows; they are installed beside it.
  file(READ ${bin}/${KESTRAN_LAYOUT_HELP_FROM_BIN}/kestran.html guide)
  string(REGEX MATCHALL "src=\"[^\"]+\"" pictures "${guide}")
  foreach(picture ${pictures})
    string(REGEX REPLACE "src=\"([^\"]+)\"" "\\1" picture "${picture}")
    if(NOT EXISTS ${bin}/${KESTRAN_LAYOUT_HELP_FROM_BIN}/${picture})
      message(FATAL_ERROR "the guide shows ${picture}, which is not installed beside it")
    endif()
  endforeach()

  # The launcher starts the installed program, wherever the session's PATH leads.
  file(STRINGS ${share}/applications/kestran.desktop commands REGEX "^(Try)?Exec=")
  set(program ${PREFIX}/${KESTRAN_LAYOUT_BINDIR}/kestran)
  if(NOT commands STREQUAL "Exec=${program};TryExec=${program}")
    message(FATAL_ERROR "the launcher does not name ${program}: ${commands}")
  endif()

  # A headless game from the installed program: a new hero, saved on drive C, in the town.
  file(REMOVE_RECURSE ${WORK_DIR}/home)
  file(MAKE_DIRECTORY ${WORK_DIR}/home)
  set(ENV{HOME} ${WORK_DIR}/home)
  unset(ENV{XDG_DATA_HOME})
  unset(ENV{XDG_CONFIG_HOME})
  unset(ENV{XDG_STATE_HOME})
  execute_process(
    COMMAND ${bin}/kestran --seed=7 "--keys=NTARO{Enter}Y{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCYx"
            --dump-text=${WORK_DIR}/town.txt
    TIMEOUT 60 RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the installed program ended with ${status}: ${err}")
  endif()
  file(READ ${WORK_DIR}/town.txt town)
  if(NOT town MATCHES "ここはオディシスの街です")
    message(FATAL_ERROR "the installed program did not reach the town:\n${town}")
  endif()
  if(NOT EXISTS ${WORK_DIR}/home/.local/share/kestran/drives/C/KSSAVE)
    message(FATAL_ERROR "the new hero was not saved in the drive folder under the home")
  endif()

  execute_process(COMMAND ${bin}/kestran --version TIMEOUT 60 RESULT_VARIABLE status OUTPUT_VARIABLE version)
  if(NOT status EQUAL 0 OR NOT version MATCHES "^kestran \\(KESTRAN\\) [0-9]")
    message(FATAL_ERROR "--version of the installed program: ${status} ${version}")
  endif()
endfunction()
