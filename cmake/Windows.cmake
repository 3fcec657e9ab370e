# The Windows program's folder, and what ships it: a portable zip and a per-user installer.
# Everything lives in one folder, as Windows programs do: kestran.exe, the error-message DLL, the
# font, the guide and its pictures, LICENSE and a short README; the program finds each beside
# itself. `cmake --build --preset windows --target windows_packages` makes both packages in
# build/windows/dist.

# A window program: a double-click opens no console behind it (main_win.cpp writes to the console
# it was started from).
set_target_properties(kestran PROPERTIES WIN32_EXECUTABLE TRUE)
# Its icon (data/windows/kestran.ico holds the desktop icons of data/icons as PNG images) and
# version, for Explorer and the Start menu.
target_sources(kestran PRIVATE ${CMAKE_SOURCE_DIR}/data/windows/kestran.rc)

# The font beside the program (Debian's unifont package), and the guide, as the installed folder
# has them.
set(KESTRAN_WINDOWS_FONT /usr/share/unifont/unifont_jp.hex)
configure_file(${KESTRAN_WINDOWS_FONT} ${CMAKE_BINARY_DIR}/src/unifont_jp.hex COPYONLY)
configure_file(docs/kestran.html ${CMAKE_BINARY_DIR}/src/kestran.html COPYONLY)
foreach(picture town corridor)
  configure_file(docs/${picture}.png ${CMAKE_BINARY_DIR}/src/${picture}.png COPYONLY)
endforeach()

install(TARGETS kestran RUNTIME DESTINATION .)
install(TARGETS kestran_errmsg RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${KESTRAN_WINDOWS_FONT} docs/kestran.html docs/town.png docs/corridor.png LICENSE
              data/windows/README.txt DESTINATION .)

# The packages: the installed folder zipped, and the NSIS installer made from the same folder.
set(KESTRAN_STAGE ${CMAKE_BINARY_DIR}/stage/KESTRAN)
set(KESTRAN_DIST ${CMAKE_BINARY_DIR}/dist)
set(KESTRAN_ZIP ${KESTRAN_DIST}/kestran-${PROJECT_VERSION}-windows.zip)
set(KESTRAN_SETUP ${KESTRAN_DIST}/kestran-${PROJECT_VERSION}-setup.exe)
add_custom_target(windows_packages
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/stage
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${KESTRAN_STAGE} --strip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KESTRAN_DIST}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${KESTRAN_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/stage ${CMAKE_COMMAND} -E tar cf ${KESTRAN_ZIP}
          --format=zip --mtime=2000-01-01 KESTRAN
  COMMAND makensis -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${KESTRAN_STAGE}
          -DICON=${CMAKE_SOURCE_DIR}/data/windows/kestran.ico -DOUTFILE=${KESTRAN_SETUP}
          ${CMAKE_SOURCE_DIR}/data/windows/kestran.nsi
  DEPENDS kestran kestran_errmsg
  COMMENT "Making the zip and the installer in ${KESTRAN_DIST}"
  VERBATIM)
