#!/usr/bin/env bash
# Runs a command with one persistent wineserver for the private prefix, so each
# Wine test start costs less than a second; stops the server afterwards.
set -u
source "$(dirname "$0")/wine-env.sh"
wineserver -p
# Start Wine's background services now, detached from our output. Xvfb has
# no window manager: Wine must not hand windows to one, or hiding each
# dialog waits 2 s for a manager's answer that never comes.
timeout 120 "$TAVIO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
status=0
"$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
