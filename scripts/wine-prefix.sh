#!/usr/bin/env bash
# Sourced: points Wine at the project's own prefix, build/wineprefix, and makes it ready (first
# start ~20 s). It only ever touches that prefix: a WINEPREFIX set before is replaced, never
# stopped or deleted, so the user's own Wine prefixes and their servers are left alone.
export WINEPREFIX="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;winemenubuilder.exe=d"

# A stale server of this prefix would serve old state; wineserver -k acts on $WINEPREFIX alone.
wineserver -k 2>/dev/null || true
# A prefix made before wine32 was installed cannot run 32-bit programs: make it anew.
if [ -d "$WINEPREFIX" ] && [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
  rm -rf "$WINEPREFIX"
fi
if [ ! -e "$WINEPREFIX/.zyl-ready" ]; then
  mkdir -p "$WINEPREFIX"
  timeout 180 wineboot -i >/dev/null 2>&1
  # Without a window manager Wine waits ~2 s per closed top-level window unless unmanaged.
  timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  timeout 60 wineserver -w
  touch "$WINEPREFIX/.zyl-ready"
fi
# Debian's Wine 8 looks for its own fonts (fonts-wine) at Z:\usr\share\wine\../fonts, which no
# lookup resolves, and caption buttons showed the letters that stand for Marlett's glyphs ("0 1 r");
# from the prefix's Fonts folder it loads them.
marlett=$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf
if [ ! -e "$marlett" ] && [ -e /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$marlett"
fi
