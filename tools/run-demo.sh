#!/usr/bin/env bash
# Shows the demo library in playerhost.exe: under the user's X display when
# there is one, else headless under Xvfb, writing a screenshot to out/demo.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/out}
demo="$out/demo"
rm -rf "$demo"
mkdir -p "$demo/player/Plugins/Tavio"
"$out/native/tavio" demo-library "$demo/library" >/dev/null
# Scanned natively, stored as Wine sees the paths (Z:\...).
"$out/native/tavio" scan --folders --windows-paths --out "$demo/player/Plugins/Tavio" "$demo/library" 2>/dev/null
export TAVIO_WINEPREFIX="$out/wineprefix-demo"
source "$root/tools/wine-env.sh"
# Each demo starts from the default settings (the last run saved its position).
wine reg delete 'HKCU\Software\BrindlemoorTavio' /f >/dev/null 2>&1 || true
plugin="$(winepath -w "$out/win32/vis_Tavio.dll" 2>/dev/null)"
player_dir="$(winepath -w "$demo/player" 2>/dev/null)"
if [ -n "${DISPLAY:-}" ] && [ "${TAVIO_HEADLESS:-0}" != 1 ]; then
  echo "Starting playerhost.exe on $DISPLAY; close its window to stop."
  exec wine "$out/win32/playerhost.exe" --plugin "$plugin" --winamp-dir "$player_dir"
fi
shot="$(winepath -w "$demo/shot.bmp")"
cat > "$demo/actions.txt" <<ACTIONS
resize 1110 400
wait 2500
screenshot $shot
move 100 150
wait 2500
move 555 150
wait 1500
quit
ACTIONS
xvfb-run -a -s "-screen 0 1600x1200x24" timeout -k 5 120 \
  wine "$out/win32/playerhost.exe" --plugin "$plugin" --winamp-dir "$player_dir" \
  --actions "$(winepath -w "$demo/actions.txt")" --log "$(winepath -w "$demo/player.log")" --close-dialogs 2>/dev/null
"$out/native/tavio" to-png "$demo/shot.bmp" "$out/demo.png"
echo "Screenshot written to $out/demo.png"
