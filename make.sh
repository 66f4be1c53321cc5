#!/usr/bin/env bash
# The one driver: sets up a fresh Debian 12 machine, builds both
# configurations and runs the plug-in or the tests.
#   ./make.sh          set up and build
#   ./make.sh run      ... then show the demo library in playerhost.exe
#   ./make.sh test     ... then run every test
#   ./make.sh bench    ... then build and run the benchmarks (no sanitizers)
#   ./make.sh fuzz [SECONDS [TARGET...]]  ... then fuzz each parser (or those
#                      named) for SECONDS (default 60)
# TAVIO_OUT_ROOT (default out) moves all build products, so two builds can
# run side by side.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
out=$(realpath -m "${TAVIO_OUT_ROOT:-out}")
action=${1:-build}
shift || true

"$root/tools/setup.sh"
source "$root/tools/wine-kind.sh"
"$root/tools/build-jpeg-win32.sh"
"$root/tools/build-png-win32.sh"
if [ "$TAVIO_WINE_BITS" != 32 ]; then
  "$root/tools/build-jpeg-win32.sh" 64
  "$root/tools/build-png-win32.sh" 64
fi

configure() {  # dir, extra cmake args...
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  fi
}

# The 32-bit Windows build always; the 64-bit one too where the tests and
# the demo run under 64-bit Wine.
build_windows() {
  configure "$out/build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DTAVIO_OUT="$out/win32" -DTAVIO_JPEG_PREFIX="$root/out/deps/jpeg-win32" \
    -DTAVIO_PNG_PREFIX="$root/out/deps/spng-win32"
  cmake --build "$out/build/win32"
  if [ "$TAVIO_WINE_BITS" = 64 ]; then
    configure "$out/build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
      -DTAVIO_OUT="$out/win64" -DTAVIO_JPEG_PREFIX="$root/out/deps/jpeg-win64" \
      -DTAVIO_PNG_PREFIX="$root/out/deps/spng-win64"
    cmake --build "$out/build/win64"
  fi
}

build_native() {
  configure "$out/build/native" -DTAVIO_OUT="$out/native" -DTAVIO_WIN32_OUT="$out/win32" \
    -DTAVIO_WIN64_OUT="$out/win64" -DTAVIO_EXPECT_WIN32=ON
  cmake --build "$out/build/native"
}

echo "make.sh: Wine runs the $TAVIO_WINE_BITS-bit build ($TAVIO_WINE_WHY)"

case "$action" in
  build)
    build_windows
    build_native
    ;;
  test)
    build_windows
    build_native
    if [ "$TAVIO_WINE_BITS" = 64 ]; then export TAVIO_WINEPREFIX="$out/wineprefix64"
    else export TAVIO_WINEPREFIX="$out/wineprefix"; fi
    status=0
    xvfb-run -a -s "-screen 0 1600x1200x24" \
      "$root/tools/with-wineserver.sh" ctest --test-dir "$out/build/native" --output-on-failure "$@" || status=$?
    if [ "$TAVIO_WINE_BITS" = 64 ]; then
      echo "make.sh: the Wine tests ran on the 64-bit build under 64-bit Wine ($TAVIO_WINE_WHY);" \
        "the 32-bit DLL was built and its file checked, but nothing 32-bit was run."
    fi
    exit $status
    ;;
  run)
    build_windows
    build_native
    exec "$root/tools/run-demo.sh" "$out" "$@"
    ;;
  bench)
    configure "$out/build/bench" -DTAVIO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release -DTAVIO_OUT="$out/bench"
    cmake --build "$out/build/bench"
    for b in "$out"/bench/bench_*; do echo "== $(basename "$b")"; "$b" "$@"; done
    # The plug-in in the stand-in player, under Wine.
    build_windows
    if [ "$TAVIO_WINE_BITS" = 64 ]; then export TAVIO_WINEPREFIX="$out/wineprefix64"
    else export TAVIO_WINEPREFIX="$out/wineprefix"; fi
    for b in bench_wine_view_cpu bench_wine_library_scan bench_wine_search_memory; do
      echo "== $b"
      TAVIO_WIN32_OUT="$out/win32" TAVIO_WIN64_OUT="$out/win64" xvfb-run -a -s "-screen 0 1600x1200x24" \
        "$root/tools/with-wineserver.sh" "$root/tools/wine-test.sh" "$b.exe"
    done
    ;;
  fuzz)
    exec "$root/tools/fuzz.sh" "$out" "$@"
    ;;
  *)
    echo "usage: ./make.sh [build|run|test|bench|fuzz [SECONDS [TARGET...]]]" >&2
    exit 2
    ;;
esac
