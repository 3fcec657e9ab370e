#!/usr/bin/env bash
# Builds zlib, libpng and SDL2 for the Windows program from Debian's source packages, with the
# MinGW-w64 compiler the build uses, as static libraries into a prefix outside the repository
# ($KESTRAN_MINGW_PREFIX, else $XDG_CACHE_HOME/kestran/mingw, else ~/.cache/kestran/mingw).
# A prefix that holds the same source versions is reused as it is.
# Needs the deb-src lines and packages `scripts/deps.sh windows` sets up.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
prefix="${KESTRAN_MINGW_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/kestran/mingw}"
sources=(zlib libpng1.6 libsdl2)

versions="$(for s in "${sources[@]}"; do apt-cache showsrc "$s" | sed -n 's/^Version: //p' | head -n1 | sed "s/^/$s /"; done)"
if [ -f "$prefix/versions" ] && [ "$(cat "$prefix/versions")" = "$versions" ]; then
  exit 0
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"
mkdir -p "$prefix"
cd "$work"
for s in "${sources[@]}"; do apt-get source -q --download-only "$s" >/dev/null 2>&1; done
for dsc in *.dsc; do dpkg-source -x "$dsc" >/dev/null 2>&1; done

build() {  # build FOLDER CMAKE-ARGS...
  local folder="$1"
  shift
  cmake -S "$folder" -B "$folder/build-mingw" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/MinGW.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null 2>&1
  cmake --build "$folder/build-mingw" -j "$(nproc)" >/dev/null
  cmake --install "$folder/build-mingw" >/dev/null
}

export KESTRAN_MINGW_PREFIX="$prefix"
# zlib's own builds want the Windows resource file Debian's source leaves out; the static
# library is its C files alone.
(
  cd "$(ls -d zlib-*/)"
  mkdir -p "$prefix/lib" "$prefix/include"
  for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees uncompr zutil; do
    x86_64-w64-mingw32-gcc-posix -O2 -c "$c.c" -o "$c.o"
  done
  x86_64-w64-mingw32-ar rcs "$prefix/lib/libz.a" ./*.o
  cp zlib.h zconf.h "$prefix/include/"
)
build "$(ls -d libpng1.6-*/)" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF
build "$(ls -d libsdl2-*/)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
echo "$versions" >"$prefix/versions"
