#!/usr/bin/env bash
# Runs one Win32 test executable under Wine, in its own folder, with a timeout.
set -u
source "$(dirname "$0")/wine-env.sh"
exe=$1; shift
cd "$(dirname "$exe")"
exec timeout -k 10 600 wine "$(basename "$exe")" "$@"
