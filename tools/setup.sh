#!/usr/bin/env bash
# Installs everything the build and tests need on a fresh Debian 12 machine and
# unpacks libjpeg-turbo's Debian source for the static Win32 build. Idempotent.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

# Both Wines: machines that cannot run 32-bit programs test with 64-bit Wine.
packages=(g++ cmake ninja-build nasm libjpeg-dev googletest nlohmann-json3-dev
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine32:i386 wine64 xvfb xauth dpkg-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
need_source=0
[ -f "$root/out/deps/libjpeg-turbo-src/CMakeLists.txt" ] || need_source=1

if [ ${#missing[@]} -gt 0 ] || [ $need_source -eq 1 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo_cmd dpkg --add-architecture i386
  fi
  # apt-get source needs deb-src entries; add them beside the binary ones.
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      $sudo_cmd sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
    else
      grep -s '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $sudo_cmd tee /etc/apt/sources.list.d/tavio-src.list >/dev/null
    fi
  fi
  # A mirror in mid-sync can fail one index; retry, then go on with what we have.
  updated=0
  for try in 1 2 3; do
    if $sudo_cmd apt-get update -qq >"${TMPDIR:-/tmp}/tavio-apt-update.log" 2>&1; then updated=1; break; fi
    sleep 5
  done
  [ $updated -eq 1 ] || echo "setup: some package indexes could not be updated; going on with the rest" \
    "(see ${TMPDIR:-/tmp}/tavio-apt-update.log)"
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
    pins=$("$root/tools/apt-align-i386.sh" "${missing[@]}")
    echo "setup: retrying with matched library versions"
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends --allow-downgrades "${missing[@]}" $pins >/dev/null
  fi
fi
if [ $need_source -eq 1 ]; then
  echo "setup: fetching libjpeg-turbo source"
  mkdir -p "$root/out/deps/src-download"
  (cd "$root/out/deps/src-download" && apt-get source -qq --download-only libjpeg-turbo >/dev/null 2>&1 || true)
  (cd "$root/out/deps/src-download" && rm -rf extract && mkdir extract && cd extract &&
     tar xf ../libjpeg-turbo_*.orig.tar.* && mv ./* "$root/out/deps/libjpeg-turbo-src.new")
  rm -rf "$root/out/deps/libjpeg-turbo-src"
  mv "$root/out/deps/libjpeg-turbo-src.new" "$root/out/deps/libjpeg-turbo-src"
fi
