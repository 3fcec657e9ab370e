# Writes the page's service worker from its template: the build's name is a digest of every file
# it keeps, so that any change to the page, the program or the font makes a new build.
# Arguments: TEMPLATE, OUTPUT, PAGE_DIR, FILES (paths under PAGE_DIR, ';'-separated).
set(digests "")
set(quoted "")
foreach(file ${FILES})
  file(SHA256 ${PAGE_DIR}/${file} digest)
  string(APPEND digests "${file} ${digest}\n")
  list(APPEND quoted "'${file}'")
endforeach()
string(SHA256 build "${digests}")
string(SUBSTRING ${build} 0 16 KESTRAN_BUILD)
list(JOIN quoted ", " KESTRAN_FILES)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
