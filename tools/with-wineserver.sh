#!/usr/bin/env bash
# Runs a command with one persistent wineserver for the private prefix, so each
# Wine test start costs less than a second; stops the server afterwards.
set -u
source "$(dirname "$0")/wine-env.sh"
wineserver -p
# Start Wine's background services now, detached from our output.
timeout 120 "$TAVIO_WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
status=0
"$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
