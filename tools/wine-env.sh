# Sourced by the Wine scripts: the Wine chosen by wine-kind.sh and a private
# prefix of that architecture under out/, created once. Debian's wine,
# wineboot and winepath always pick the 32-bit loader when it is installed,
# so every call goes through $TAVIO_WINE.
source "$(dirname "${BASH_SOURCE[0]}")/wine-kind.sh"
tavio_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ "$TAVIO_WINE_BITS" = 64 ]; then
  export WINEARCH=win64
  export WINEPREFIX="${TAVIO_WINEPREFIX:-$tavio_root/out/wineprefix64}"
else
  export WINEARCH=win32
  export WINEPREFIX="${TAVIO_WINEPREFIX:-$tavio_root/out/wineprefix}"
fi
export WINELOADER=$TAVIO_WINE
export WINEDEBUG=-all
# No crash debugger: a crashing test must end at once, not wait in winedbg.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  timeout 300 "$TAVIO_WINE" wineboot -i >/dev/null 2>&1 || true
  for key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
             'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
    timeout 60 "$TAVIO_WINE" reg delete "$key" /v Debugger /f >/dev/null 2>&1 || true
  done
  timeout 60 wineserver -w || true
fi
# Font linking: the faces the plug-in draws with (and Wine's dialog faces)
# hold Latin letters only, and where Wine lacks them it draws with DejaVu
# Sans, found through fontconfig (ASCII draws the same either way); the
# missing scripts' glyphs then come from the links: DejaVu Sans for Cyrillic, Greek, Hebrew and Arabic, WenQuanYi
# Micro Hei for Chinese and Japanese. Written again whenever this list
# changes, so older prefixes get it too.
tavio_dejavu='DejaVuSans.ttf,DejaVu Sans'
tavio_wqy='wqy-microhei.ttc,WenQuanYi Micro Hei'
tavio_font_links=()
for face in 'MS Sans Serif' 'Microsoft Sans Serif' 'Tahoma' 'Arial' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
  tavio_font_links+=("$face=$tavio_dejavu\0$tavio_wqy")
done
# Wine looks a link up under the drawn face's full name, bold apart.
tavio_font_links+=("DejaVu Sans=$tavio_wqy" "DejaVu Sans Bold=$tavio_wqy" "WenQuanYi Micro Hei=$tavio_dejavu")
tavio_font_stamp="$WINEPREFIX/tavio-font-link"
if [ "$(cat "$tavio_font_stamp" 2>/dev/null)" != "${tavio_font_links[*]}" ]; then
  for link in "${tavio_font_links[@]}"; do
    timeout 60 "$TAVIO_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "${link%%=*}" /t REG_MULTI_SZ /d "${link#*=}" /f >/dev/null 2>&1 </dev/null || true
  done
  echo "${tavio_font_links[*]}" >"$tavio_font_stamp"
fi
