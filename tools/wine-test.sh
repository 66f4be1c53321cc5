#!/usr/bin/env bash
# Runs one Windows test executable under Wine, in its own folder, with a
# timeout. The executable is taken from the build that matches the Wine in
# use: TAVIO_WIN32_OUT for 32-bit Wine, TAVIO_WIN64_OUT for 64-bit Wine.
# Output goes through a file: Wine's helper processes inherit the descriptors
# and outlive the test, and a pipe they hold open would keep ctest waiting.
set -u
source "$(dirname "$0")/wine-env.sh"
name=$1; shift
if [ "$TAVIO_WINE_BITS" = 64 ]; then dir=${TAVIO_WIN64_OUT:?}; else dir=${TAVIO_WIN32_OUT:?}; fi
echo "$name: the $TAVIO_WINE_BITS-bit build under $TAVIO_WINE_BITS-bit Wine ($TAVIO_WINE_WHY)"
if [ ! -f "$dir/$name" ]; then
  echo "$dir/$name is missing: build it first (./make.sh build)"
  exit 1
fi
cd "$dir"
log=$(mktemp)
# The HTTPS tests' TLS front runs natively beside Wine, with a throw-away CA;
# the tests read its ports and the CA's file from the environment.
relay_pid=""
tls_dir=""
if [ -x "${TAVIO_TLS_RELAY:-}" ]; then
  tls_dir=$(mktemp -d)
  if "$tavio_root/tests/support/make_test_ca.sh" "$tls_dir"; then
    "$TAVIO_TLS_RELAY" "$tls_dir" >"$tls_dir/ports" 2>/dev/null </dev/null &
    relay_pid=$!
    for _ in $(seq 50); do [ -s "$tls_dir/ports" ] && break; sleep 0.1; done
    export TAVIO_TLS_PORTS="$(cat "$tls_dir/ports")"
    export TAVIO_TLS_CA="Z:${tls_dir//\//\\}\\ca.pem"
  fi
fi
status=0
timeout -k 10 600 "$TAVIO_WINE" "$name" "$@" >"$log" 2>&1 </dev/null || status=$?
cat "$log"
rm -f "$log"
[ -z "$relay_pid" ] || kill "$relay_pid"
[ -z "$tls_dir" ] || rm -rf "$tls_dir"
exit $status
