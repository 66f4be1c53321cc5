#!/usr/bin/env bash
# Builds zlib and libspng (Debian's sources, unpacked by setup.sh) as static
# Windows libraries: 32-bit into out/deps/spng-win32, or with the argument 64,
# 64-bit into out/deps/spng-win64 (include/ and lib/ with libspng.a, libz.a).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bits=${1:-32}
case "$bits" in
  32) cc=i686-w64-mingw32-gcc-posix; ar=i686-w64-mingw32-gcc-ar-posix;;
  64) cc=x86_64-w64-mingw32-gcc-posix; ar=x86_64-w64-mingw32-gcc-ar-posix;;
  *) echo "usage: $0 [32|64]" >&2; exit 2;;
esac
zlib_src="$root/out/deps/zlib-src"
spng_src="$root/out/deps/libspng-src"
prefix="$root/out/deps/spng-win$bits"
[ -f "$prefix/lib/libspng.a" ] && [ -f "$prefix/lib/libz.a" ] && exit 0
build="$root/out/deps/spng-win$bits-build"
rm -rf "$build" "$prefix"
mkdir -p "$build/zlib" "$build/spng" "$prefix/include" "$prefix/lib"
# The same floating-point and SIMD setting as the rest of the build.
flags=(-O2 -msse2 -mfpmath=sse -DNDEBUG)

for f in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil; do
  "$cc" "${flags[@]}" -c "$zlib_src/$f.c" -o "$build/zlib/$f.o"
done
"$ar" rcs "$build/libz.a" "$build"/zlib/*.o
cp "$zlib_src/zlib.h" "$zlib_src/zconf.h" "$prefix/include/"

"$cc" "${flags[@]}" -DSPNG_STATIC -I"$prefix/include" -c "$spng_src/spng/spng.c" -o "$build/spng/spng.o"
"$ar" rcs "$build/libspng.a" "$build/spng/spng.o"
cp "$spng_src/spng/spng.h" "$prefix/include/"
cp "$build/libz.a" "$build/libspng.a" "$prefix/lib/"
