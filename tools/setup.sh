#!/usr/bin/env bash
# Installs everything the build and tests need on a fresh Debian 12 machine and
# unpacks the Debian sources of libjpeg-turbo, libspng and zlib for the static
# Windows builds. Idempotent.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

# Both Wines: machines that cannot run 32-bit programs test with 64-bit Wine.
# Wine's TLS (WinHTTP's HTTPS) needs GnuTLS of its own architecture, which
# Wine only recommends. libcurl is the tool's HTTPS; the HTTPS tests make
# their CA with openssl and serve it through GnuTLS.
packages=(g++ cmake ninja-build nasm libjpeg-dev libspng-dev googletest nlohmann-json3-dev
          libcurl4-gnutls-dev libgnutls28-dev openssl
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine32:i386 wine64 libgnutls30 libgnutls30:i386 xvfb xauth dpkg-dev
          # Glyphs for every script a library's names use, found by Wine through fontconfig.
          fonts-wqy-microhei fonts-dejavu)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Source package, the folder it is unpacked into under out/deps, a file it holds.
sources=("libjpeg-turbo libjpeg-turbo-src CMakeLists.txt" "libspng libspng-src spng/spng.c" "zlib zlib-src inflate.c")
need_source=0
for s in "${sources[@]}"; do
  read -r _ dir file <<<"$s"
  [ -f "$root/out/deps/$dir/$file" ] || need_source=1
done

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
# The newest version first; a security update whose source the mirror lacks
# falls back to the release's own.
fetch_source() {  # package, folder under out/deps
  local package=$1 dir=$2 download="$root/out/deps/src-download/$1"
  echo "setup: fetching $package source"
  rm -rf "$download" && mkdir -p "$download"
  local version tarball=""
  for version in "" $(apt-cache showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | sort -rV); do
    (cd "$download" && apt-get source -qq --download-only "$package${version:+=$version}" >/dev/null 2>&1) || true
    tarball=$(find "$download" -maxdepth 1 -name "*.orig.tar.*" ! -name "*.asc" | head -n 1)
    [ -n "$tarball" ] && break
  done
  [ -n "$tarball" ] || { echo "setup: no source of $package could be fetched" >&2; exit 1; }
  (cd "$download" && rm -rf extract && mkdir extract && cd extract &&
     tar xf "$tarball" && mv ./* "$root/out/deps/$dir.new")
  rm -rf "$root/out/deps/$dir"
  mv "$root/out/deps/$dir.new" "$root/out/deps/$dir"
}
for s in "${sources[@]}"; do
  read -r package dir file <<<"$s"
  [ -f "$root/out/deps/$dir/$file" ] || fetch_source "$package" "$dir"
done
