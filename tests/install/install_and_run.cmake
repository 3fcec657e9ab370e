# Installs the build into a fresh prefix and runs the installed program from there, with a home of
# its own. Arguments: BUILD_DIR, WORK_DIR, BINDIR, ERRMSG_FROM_BIN, HELP_FROM_BIN, DATADIR, MANDIR.
set(prefix ${WORK_DIR}/usr)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/home)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the install failed (${status}):\n${out}${err}")
endif()

# Where the program looks from its own folder must be where the install put the files.
set(bin ${prefix}/${BINDIR})
foreach(file
    ${bin}/kestran
    ${bin}/${ERRMSG_FROM_BIN}/libkestran_errmsg.so
    ${bin}/${HELP_FROM_BIN}/kestran.html
    ${bin}/${HELP_FROM_BIN}/town.png
    ${prefix}/${DATADIR}/applications/kestran.desktop
    ${prefix}/${DATADIR}/icons/hicolor/16x16/apps/kestran.png
    ${prefix}/${DATADIR}/icons/hicolor/256x256/apps/kestran.png
    ${prefix}/${MANDIR}/man6/kestran.6.gz)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The help file names the pictures it shows; they are installed beside it.
file(READ ${bin}/${HELP_FROM_BIN}/kestran.html guide)
string(REGEX MATCHALL "src=\"[^\"]+\"" pictures "${guide}")
foreach(picture ${pictures})
  string(REGEX REPLACE "src=\"([^\"]+)\"" "\\1" picture "${picture}")
  if(NOT EXISTS ${bin}/${HELP_FROM_BIN}/${picture})
    message(FATAL_ERROR "the guide shows ${picture}, which is not installed beside it")
  endif()
endforeach()

# A headless game from the installed program: a new hero, saved on drive C, in the town.
set(ENV{HOME} ${WORK_DIR}/home)
unset(ENV{XDG_DATA_HOME})
unset(ENV{XDG_CONFIG_HOME})
unset(ENV{XDG_STATE_HOME})
execute_process(
  COMMAND ${bin}/kestran --seed=7 "--keys=NTARO{Enter}Y{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCYx"
          --dump-text=${WORK_DIR}/town.txt
  RESULT_VARIABLE status ERROR_VARIABLE err)
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

execute_process(COMMAND ${bin}/kestran --version RESULT_VARIABLE status OUTPUT_VARIABLE version)
if(NOT status EQUAL 0 OR NOT version MATCHES "^kestran \\(KESTRAN\\) [0-9]")
  message(FATAL_ERROR "--version of the installed program: ${status} ${version}")
endif()
