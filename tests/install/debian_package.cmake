# Builds the Debian package as the README says (the package preset, then cpack), has lintian check
# it, and runs the program from the unpacked package. Skipped without lintian or dpkg-deb.
# Arguments: SOURCE_DIR, WORK_DIR.
find_program(LINTIAN lintian)
find_program(DPKG_DEB dpkg-deb)
if(NOT LINTIAN OR NOT DPKG_DEB)
  message("SKIP: lintian or dpkg-deb is not installed (Debian packages lintian, dpkg): the package is not checked")
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/installed_tree.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

function(run what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
endfunction()

# The package preset's own build tree, shared with a package built by hand: built once, a later
# run only repackages.
set(package_build ${SOURCE_DIR}/build/package)
run("configuring the package preset" ${CMAKE_COMMAND} --preset package)
run("building the package preset" ${CMAKE_COMMAND} --build --preset package -j2
    --target kestran kestran_errmsg kestran_man_page kestran_changelog)
file(GLOB stale ${package_build}/deb/*.deb)
if(stale)
  file(REMOVE ${stale})
endif()
run("cpack" ${CMAKE_CPACK_COMMAND} --preset package)
file(GLOB deb ${package_build}/deb/kestran_*.deb)

# Any error or warning fails; info tags are shown.
execute_process(COMMAND ${LINTIAN} --display-info --fail-on error,warning ${deb}
  RESULT_VARIABLE status OUTPUT_VARIABLE tags ERROR_VARIABLE err)
message("lintian ${deb}:\n${tags}")
if(NOT status EQUAL 0 OR tags MATCHES "(^|\n)[EW]: ")
  message(FATAL_ERROR "lintian finds fault with the package (${status}):\n${tags}${err}")
endif()

# The control file, the changelog and the copyright file name the same maintainer and version.
execute_process(COMMAND ${DPKG_DEB} --field ${deb} Maintainer Version OUTPUT_VARIABLE fields)
string(REGEX REPLACE ".*Maintainer: ([^\n]*).*" "\\1" maintainer "${fields}")
string(REGEX REPLACE ".*Version: ([^\n]*).*" "\\1" version "${fields}")
file(STRINGS ${SOURCE_DIR}/data/debian/changelog latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^kestran \\(${version}\\) ")
  message(FATAL_ERROR "the package is version ${version}, the changelog's latest entry: ${latest}")
endif()
file(STRINGS ${SOURCE_DIR}/data/debian/copyright contact REGEX "^Upstream-Contact: ")
if(NOT contact STREQUAL "Upstream-Contact: ${maintainer}")
  message(FATAL_ERROR "the package's maintainer is ${maintainer}; the copyright file's ${contact}")
endif()

run("unpacking the package" ${DPKG_DEB} --extract ${deb} ${WORK_DIR}/root)
include(${package_build}/kestran_install_layout.cmake)
kestran_check_installed_tree(${WORK_DIR}/root${KESTRAN_LAYOUT_PREFIX} ${KESTRAN_LAYOUT_PREFIX} ${WORK_DIR})
