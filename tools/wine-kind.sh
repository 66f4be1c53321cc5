# Sourced: decides once which Wine runs the tests and the demo. 32-bit Wine
# where this machine runs 32-bit programs (tried, not guessed); else 64-bit
# Wine on the x86_64 build. TAVIO_WINE64=1 forces the 64-bit path anywhere.
if [ -z "${TAVIO_WINE_BITS:-}" ]; then
  if [ "${TAVIO_WINE64:-0}" = 1 ]; then
    TAVIO_WINE_BITS=64
    TAVIO_WINE_WHY="forced by TAVIO_WINE64=1"
  elif tavio_wine_err=$(/usr/lib/wine/wine --version 2>&1 </dev/null); then
    TAVIO_WINE_BITS=32
    TAVIO_WINE_WHY="this machine runs 32-bit programs"
  else
    TAVIO_WINE_BITS=64
    TAVIO_WINE_WHY="32-bit Wine cannot run here: ${tavio_wine_err##*: }"
  fi
  export TAVIO_WINE_BITS TAVIO_WINE_WHY
fi
if [ "$TAVIO_WINE_BITS" = 64 ]; then
  TAVIO_WINE=/usr/lib/wine/wine64
else
  TAVIO_WINE=/usr/lib/wine/wine
fi
export TAVIO_WINE
