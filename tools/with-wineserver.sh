#!/usr/bin/env bash
# Runs a command with one persistent wineserver for the private prefix, so each
# Wine test start costs less than a second; stops the server afterwards.
set -u
source "$(dirname "$0")/wine-env.sh"
wineserver -p
status=0
"$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
