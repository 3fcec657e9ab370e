# Cross-building the Windows program on Debian with MinGW-w64 (posix threads, for std::thread
# and std::mutex), linked statically so that kestran.exe needs none of MinGW's DLLs.
# SDL2, libpng and zlib come from the prefix scripts/windows_prefix.sh builds from Debian's
# source packages; the same folder rule stands there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KESTRAN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KESTRAN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRAN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KESTRAN_MINGW_TRIPLE}-windres)

if(DEFINED ENV{KESTRAN_MINGW_PREFIX})
  set(KESTRAN_MINGW_PREFIX $ENV{KESTRAN_MINGW_PREFIX})
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(KESTRAN_MINGW_PREFIX $ENV{XDG_CACHE_HOME}/kestran/mingw)
else()
  set(KESTRAN_MINGW_PREFIX $ENV{HOME}/.cache/kestran/mingw)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${KESTRAN_MINGW_TRIPLE} ${KESTRAN_MINGW_PREFIX})
set(CMAKE_PREFIX_PATH ${KESTRAN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests and tools built for Windows run under Wine here.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
