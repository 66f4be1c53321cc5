#!/usr/bin/env bash
# Shows the demo library in playerhost.exe: under the user's X display when
# there is one, else headless under Xvfb, writing a screenshot to out/demo.png.
# Any failed step says what failed and exits non-zero.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/out}
demo="$out/demo"
fail() { echo "run-demo: $*" >&2; exit 1; }

rm -rf "$demo"
mkdir -p "$demo/player/Plugins/Tavio"
"$out/native/tavio" demo-library "$demo/library" >/dev/null || fail "could not generate the demo library"
# Scanned natively, stored as Wine sees the paths (Z:\...).
"$out/native/tavio" scan --folders --windows-paths --out "$demo/player/Plugins/Tavio" "$demo/library" 2>/dev/null ||
  fail "could not scan the demo library"
source "$root/tools/wine-kind.sh"
export TAVIO_WINEPREFIX="$out/wineprefix-demo$([ "$TAVIO_WINE_BITS" = 64 ] && echo 64 || true)"
source "$root/tools/wine-env.sh"
build="$out/win$TAVIO_WINE_BITS"
[ -f "$build/playerhost.exe" ] && [ -f "$build/vis_Tavio.dll" ] || fail "$build has no playerhost.exe or vis_Tavio.dll"
echo "run-demo: the $TAVIO_WINE_BITS-bit build under $TAVIO_WINE_BITS-bit Wine ($TAVIO_WINE_WHY)"
winpath() { "$TAVIO_WINE" winepath -w "$1" 2>/dev/null; }
# Each demo starts from the default settings (the last run saved its position).
"$TAVIO_WINE" reg delete 'HKCU\Software\BrindlemoorTavio' /f >/dev/null 2>&1 || true
plugin=$(winpath "$build/vis_Tavio.dll") && [ -n "$plugin" ] || fail "Wine does not run here (winepath failed)"
player_dir=$(winpath "$demo/player")
if [ -n "${DISPLAY:-}" ] && [ "${TAVIO_HEADLESS:-0}" != 1 ]; then
  echo "Starting playerhost.exe on $DISPLAY; close its window to stop."
  exec "$TAVIO_WINE" "$build/playerhost.exe" --plugin "$plugin" --winamp-dir "$player_dir"
fi
cat > "$demo/actions.txt" <<ACTIONS
resize 1110 400
wait 1000
settle
screenshot $(winpath "$demo/shot.bmp")
move 100 150
wait 2500
move 555 150
wait 1500
quit
ACTIONS
status=0
xvfb-run -a -s "-screen 0 1600x1200x24" timeout -k 5 120 \
  "$TAVIO_WINE" "$build/playerhost.exe" --plugin "$plugin" --winamp-dir "$player_dir" \
  --actions "$(winpath "$demo/actions.txt")" --log "$(winpath "$demo/player.log")" --close-dialogs \
  2>"$demo/wine.log" || status=$?
[ -f "$demo/shot.bmp" ] || fail "playerhost.exe took no screenshot (exit $status; see $demo/wine.log and $demo/player.log)"
[ $status -eq 0 ] || fail "playerhost.exe failed with exit $status (see $demo/wine.log and $demo/player.log)"
if grep -q '^dialog\|^error' "$demo/player.log" 2>/dev/null; then
  fail "the plug-in reported: $(grep '^dialog\|^error' "$demo/player.log" | head -3 | tr '\n' ' ')"
fi
"$out/native/tavio" to-png "$demo/shot.bmp" "$out/demo.png" || fail "could not convert the screenshot"
echo "Screenshot written to $out/demo.png"
