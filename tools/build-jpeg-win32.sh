#!/usr/bin/env bash
# Builds libjpeg-turbo (Debian's source, unpacked by setup.sh) as a static
# Windows library with its NASM SIMD code: 32-bit into out/deps/jpeg-win32,
# or with the argument 64, 64-bit into out/deps/jpeg-win64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bits=${1:-32}
case "$bits" in
  32) toolchain="$root/cmake/mingw-i686.cmake";;
  64) toolchain="$root/cmake/mingw-x86_64.cmake";;
  *) echo "usage: $0 [32|64]" >&2; exit 2;;
esac
src="$root/out/deps/libjpeg-turbo-src"
prefix="$root/out/deps/jpeg-win$bits"
[ -f "$prefix/lib/libjpeg.a" ] && exit 0
build="$root/out/deps/jpeg-win$bits-build"
rm -rf "$build"
cmake -S "$src" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF \
  -DCMAKE_C_FLAGS="-msse2 -mfpmath=sse" -Wno-dev >/dev/null
cmake --build "$build" --target install >/dev/null
test -f "$prefix/lib/libjpeg.a"
