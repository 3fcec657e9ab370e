# The installed program and its Debian package. `cmake --install <build> --prefix <dir>` gives a
# tree that runs from <dir>: the program finds the error-message library and the help file by
# their folders relative to its own (KESTRAN_INSTALL_*_DIR, set in the top CMakeLists.txt).
#
#   bin/kestran                                  the program (games/kestran in the Debian package)
#   lib[/<multiarch>]/kestran/libkestran_errmsg.so   the error-message library
#   share/kestran/kestran.html, *.png            the help file F1 opens (the player's guide)
#   share/applications/kestran.desktop           the launcher
#   share/icons/hicolor/NxN/apps/kestran.png     its icon
#   share/man/man6/kestran.6.gz                  the manual page
#   share/doc/kestran/copyright, changelog.gz    the licence terms and the release history
if(NOT TARGET kestran OR NOT TARGET kestran_errmsg)
  return()
endif()

set(KESTRAN_ICON_SIZES 16 22 24 32 48 64 128 256)

# The layout above as this build fills it in, for the tests that check an installed tree or the
# package (tests/install).
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/kestran_install_layout.cmake @ONLY CONTENT [[
set(KESTRAN_LAYOUT_PREFIX "@CMAKE_INSTALL_PREFIX@")
set(KESTRAN_LAYOUT_BINDIR "@CMAKE_INSTALL_BINDIR@")
set(KESTRAN_LAYOUT_ERRMSG_FROM_BIN "@KESTRAN_INSTALLED_ERRMSG_FROM_BIN@")
set(KESTRAN_LAYOUT_HELP_FROM_BIN "@KESTRAN_INSTALLED_HELP_FROM_BIN@")
set(KESTRAN_LAYOUT_DATADIR "@CMAKE_INSTALL_DATADIR@")
set(KESTRAN_LAYOUT_MANDIR "@CMAKE_INSTALL_MANDIR@")
set(KESTRAN_LAYOUT_DOCDIR "@CMAKE_INSTALL_DOCDIR@")
]])

# install(CODE) with this file's @VARIABLES@ filled in; ${VARIABLES} are the install script's.
function(kestran_install_code code)
  string(CONFIGURE "${code}" code @ONLY)
  install(CODE "${code}")
endfunction()

# Before anything is copied: a prefix this user cannot write to is said so in one message, not as
# a permission error of the first file. The nearest folder that exists is the one that must be
# writable (the others are made inside it).
install(CODE [[
  set(kestran_destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  set(kestran_folder "${kestran_destination}")
  if(NOT IS_ABSOLUTE "${kestran_folder}")  # a relative --prefix is taken from the current folder
    execute_process(COMMAND pwd OUTPUT_VARIABLE kestran_here OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(kestran_folder "${kestran_here}/${kestran_folder}")
  endif()
  while(NOT EXISTS "${kestran_folder}")
    get_filename_component(kestran_parent "${kestran_folder}" DIRECTORY)
    if(kestran_parent STREQUAL kestran_folder OR kestran_parent STREQUAL "")
      break()
    endif()
    set(kestran_folder "${kestran_parent}")
  endwhile()
  execute_process(COMMAND test -w "${kestran_folder}" -a -d "${kestran_folder}" RESULT_VARIABLE kestran_refused)
  if(kestran_refused)
    message(FATAL_ERROR
      "kestran: cannot install into ${kestran_destination}: this user may not write in ${kestran_folder}.\n"
      "Install as root (sudo cmake --install ...), or into a folder of your own with --prefix DIR.")
  endif()
  # The prefix as the installed files will see it (without DESTDIR), for the launcher's command.
  set(kestran_prefix "${CMAKE_INSTALL_PREFIX}")
  if(NOT IS_ABSOLUTE "${kestran_prefix}")
    set(kestran_prefix "${kestran_here}/${kestran_prefix}")
  endif()
]])

install(TARGETS kestran RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kestran_errmsg LIBRARY DESTINATION ${KESTRAN_INSTALL_ERRMSG_DIR})
# A stripped install (cpack, cmake --install --strip) also drops the compiler's name and version,
# as Debian's own packages do.
kestran_install_code([[
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND "@CMAKE_STRIP@" --remove-section=.comment
      "$ENV{DESTDIR}${kestran_prefix}/@CMAKE_INSTALL_BINDIR@/$<TARGET_FILE_NAME:kestran>"
      "$ENV{DESTDIR}${kestran_prefix}/@KESTRAN_INSTALL_ERRMSG_DIR@/$<TARGET_FILE_NAME:kestran_errmsg>"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
]])
install(FILES docs/kestran.html docs/town.png docs/corridor.png DESTINATION ${KESTRAN_INSTALL_HELP_DIR})

# The launcher names the installed program by its full path: a desktop session's PATH may lack
# the folder (/usr/games is not in every session's PATH, nor ~/.local/bin), and the games menu
# hides an entry whose TryExec it cannot find.
set(KESTRAN_LAUNCHER ${CMAKE_BINARY_DIR}/kestran.desktop)
kestran_install_code([[
  file(READ "@CMAKE_CURRENT_SOURCE_DIR@/data/kestran.desktop" kestran_launcher)
  string(REPLACE "Exec=kestran\n" "Exec=${kestran_prefix}/@CMAKE_INSTALL_BINDIR@/kestran\n"
         kestran_launcher "${kestran_launcher}")
  file(WRITE "@KESTRAN_LAUNCHER@" "${kestran_launcher}")
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_DATADIR@/applications" TYPE FILE
       FILES "@KESTRAN_LAUNCHER@")
]])
foreach(size ${KESTRAN_ICON_SIZES})
  install(FILES data/icons/kestran-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME kestran.png)
endforeach()

# The manual page, compressed as Debian keeps them (without a time stamp, so the build repeats).
set(KESTRAN_MAN_PAGE ${CMAKE_BINARY_DIR}/kestran.6.gz)
add_custom_command(OUTPUT ${KESTRAN_MAN_PAGE}
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/docs/kestran.6 > ${KESTRAN_MAN_PAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/kestran.6
  COMMENT "Compressing the manual page")
add_custom_target(kestran_man_page ALL DEPENDS ${KESTRAN_MAN_PAGE})
install(FILES ${KESTRAN_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The licence terms and the release history, where Debian keeps them (data/debian): the copyright
# file in Debian's machine-readable format, the changelog in Debian's format, compressed like the
# manual page; and the notes for lintian on what it flags by design.
set(KESTRAN_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${KESTRAN_CHANGELOG}
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/data/debian/changelog > ${KESTRAN_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/data/debian/changelog
  COMMENT "Compressing the changelog")
add_custom_target(kestran_changelog ALL DEPENDS ${KESTRAN_CHANGELOG})
install(FILES data/debian/copyright ${KESTRAN_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")  # only a system package is checked by lintian
  install(FILES data/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kestran)
endif()

# In the build tree the help file sits beside the program, where F1 finds it first.
configure_file(docs/kestran.html ${CMAKE_BINARY_DIR}/src/kestran.html COPYONLY)
foreach(picture town corridor)
  configure_file(docs/${picture}.png ${CMAKE_BINARY_DIR}/src/${picture}.png COPYONLY)
endforeach()

# The Debian package: `cpack --preset package` after building the package preset (prefix /usr).
# That preset puts the program in /usr/games, where Debian keeps its games, and builds with
# Debian's hardening flags (checked string and memory functions, a stack protector, relocations
# read-only and bound at start-up), and maps the source folder to "." so that the program names
# no folder of the machine that built it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestran)
set(CPACK_PACKAGE_VENDOR "The KESTRAN developers")
# The maintainer is the one who signs the latest entry of the changelog, so the two always agree.
file(STRINGS data/debian/changelog KESTRAN_CHANGELOG_SIGNATURE REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- (.*>)  .*$" "\\1" CPACK_PACKAGE_CONTACT "${KESTRAN_CHANGELOG_SIGNATURE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese single-player dungeon role-playing game")
# Debian shows the description in 80 columns: each line below stays within 79 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "One hero, a town with an inn, an item shop, an adventurers' guild and a\n"
  "tavern, and a labyrinth of six floors seen as a wire-frame corridor, on an\n"
  "80x24 Japanese character screen: in a window, or in a terminal.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kestran)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# The install runs with the package's own prefix under DESTDIR, so that the launcher's command
# names the program where the package puts it, not where cpack stages it.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the program links (SDL2, ncursesw, libpng, the C++ library) are found by
# dpkg-shlibdeps; the font is read at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS unifont)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
