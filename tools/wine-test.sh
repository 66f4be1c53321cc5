#!/usr/bin/env bash
# Runs one Win32 test executable under Wine, in its own folder, with a timeout.
# Output goes through a file: Wine's helper processes inherit the descriptors
# and outlive the test, and a pipe they hold open would keep ctest waiting.
set -u
source "$(dirname "$0")/wine-env.sh"
exe=$1; shift
cd "$(dirname "$exe")"
log=$(mktemp)
status=0
timeout -k 10 600 wine "$(basename "$exe")" "$@" >"$log" 2>&1 </dev/null || status=$?
cat "$log"
rm -f "$log"
exit $status
