# Sourced by the other scripts: points Wine at a private prefix and makes it once.
# Usage: source scripts/wine-prefix.sh <prefix folder>
export WINEPREFIX="$(realpath -m "$1")"
export WINEARCH=win64
export WINEDEBUG=-all
# A new prefix must never stop to offer Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine: making prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  # Without a window manager under Xvfb, Wine waits 2 s for one each time a managed window
  # hides; unmanaged windows hide at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
fi
