#!/usr/bin/env bash
# The plug-in as a file: a 32-bit PE DLL with exactly one export,
# winampVisGetHeader, and imports from Windows system DLLs only (no MinGW
# runtime DLL beside it).
set -euo pipefail
dll=$1
format=$(i686-w64-mingw32-objdump -f "$dll" | sed -n 's/.*file format //p')
if [ "$format" != "pei-i386" ]; then
  echo "format: ${format:-unknown} (want pei-i386, a 32-bit DLL)"
  exit 1
fi
dump=$(i686-w64-mingw32-objdump -p "$dll")
exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^\s+\[' | awk '{print $NF}')
if [ "$exports" != "winampVisGetHeader" ]; then
  echo "exports: ${exports:-none} (want only winampVisGetHeader)"
  exit 1
fi
allowed='^(ADVAPI32|GDI32|KERNEL32|msvcrt|ole32|OLEAUT32|USER32|SHELL32|COMCTL32|COMDLG32|WS2_32|WINHTTP|SHLWAPI|UxTheme)\.dll$'
bad=$(echo "$dump" | awk '/DLL Name:/{print $3}' | grep -viE "$allowed" || true)
if [ -n "$bad" ]; then
  echo "imports from non-system DLLs: $bad"
  exit 1
fi
echo "vis_Tavio.dll: 32-bit, one export, system imports only"
