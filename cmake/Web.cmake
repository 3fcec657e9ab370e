# The browser build (the web preset, Debian's emscripten): what the native builds have that the
# browser has not, and the options every target is compiled with there.

# The runtime raises its errors and the program's end as C++ exceptions; emscripten catches them
# only when the code is compiled and linked for it.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# Copies of a row of pixels and more become the memory.copy instruction instead of a call out to
# JavaScript for each; every browser that runs the page's other features has it.
add_compile_options(-mbulk-memory)
add_link_options(-mbulk-memory)

# emscripten 3.1.6 ships libc++ 13, which has no <source_location> yet: a stand-in from clang's
# builtins, found before the library's headers.
include_directories(BEFORE SYSTEM ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/web/compat)

# Settled by the web preset, repeated here so that a bare emcmake configure gets the same.
set(KESTRAN_BUILD_SDL OFF CACHE BOOL "" FORCE)
set(KESTRAN_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(KESTRAN_BUILD_BENCH OFF CACHE BOOL "" FORCE)

# node runs the build-time tools compiled to WebAssembly. emscripten 3.1.6 fetches its .wasm
# with fetch() when node has one, which node cannot do for a file path.
find_program(KESTRAN_NODE NAMES node nodejs REQUIRED)
set(KESTRAN_NODE_RUN ${KESTRAN_NODE} --no-experimental-fetch)
