#!/usr/bin/env bash
# Builds libjpeg-turbo (Debian's source, unpacked by setup.sh) as a static
# 32-bit Windows library with its NASM SIMD code, into out/deps/jpeg-win32.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/out/deps/libjpeg-turbo-src"
prefix="$root/out/deps/jpeg-win32"
[ -f "$prefix/lib/libjpeg.a" ] && exit 0
build="$root/out/deps/jpeg-win32-build"
rm -rf "$build"
cmake -S "$src" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF \
  -DCMAKE_C_FLAGS="-msse2 -mfpmath=sse" >/dev/null
cmake --build "$build" --target install >/dev/null
test -f "$prefix/lib/libjpeg.a"
