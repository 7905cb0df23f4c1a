#!/bin/bash
# Builds Vexamo.exe and starts it under Wine in a virtual desktop, on a machine with a demo
# CD-ROM drive D: holding a few sample media files, as a user would see the tray agent.
#
# Without a display ($DISPLAY unset) it runs on a private Xvfb, saves a screenshot of the
# desktop after about ten seconds to build/run-screenshot.png and stops.
#
#   scripts/run.sh [--wait SECONDS]    seconds before the headless screenshot (default 10)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=lib/wine.sh
. "$ROOT/scripts/lib/wine.sh"

WAIT=10
while [ $# -gt 0 ]; do
  case "$1" in
    --wait) WAIT=$2; shift 2 ;;
    *) echo "run: unknown option $1" >&2; exit 2 ;;
  esac
done

BUILD="$ROOT/build"
PREFIX="$BUILD/wineprefix-run"
PROGRAM="$BUILD/run-program"
CDROM="$BUILD/run-cdrom"
SHOT="$BUILD/run-screenshot.png"
DESKTOP_SIZE=1024x768

timeout 2400 "$ROOT/scripts/bootstrap.sh"
cd "$ROOT"
timeout 600 cmake --preset windows >/dev/null
timeout 1200 cmake --build --preset windows --target Vexamo

# The program folder keeps its INI files from run to run, like an installed copy.
mkdir -p "$PROGRAM"
cp "$BUILD/windows/Vexamo.exe" "$PROGRAM/Vexamo.exe"

# A demo disc: small dummy files with the extensions players are set up for.
make_demo_disc() {
  mkdir -p "$CDROM/Movies" "$CDROM/Music"
  printf 'RIFF\0\0\0\0AVI LIST demo video\n' >"$CDROM/Movies/Holiday.avi"
  printf '1\n00:00:01,000 --> 00:00:04,000\nA demo subtitle.\n' >"$CDROM/Movies/Holiday.srt"
  printf 'RIFF\0\0\0\0AVI LIST second demo video\n' >"$CDROM/Movies/Trailer.avi"
  local n
  for n in 01 02 03; do printf 'ID3\3\0\0\0\0\0\0demo track %s\n' "$n" >"$CDROM/Music/Track$n.mp3"; done
}
make_demo_disc

started_xvfb=0
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb "$DESKTOP_SIZE" "$BUILD/run-xvfb.log"
  started_xvfb=1
fi
finish() {
  if [ "$started_xvfb" = 1 ]; then
    stop_wineserver "$PREFIX"
    stop_xvfb
  fi
}
trap finish EXIT

if [ ! -f "$PREFIX/system.reg" ]; then
  echo "run: creating the Wine prefix $PREFIX (once, about 15 s)"
  make_prefix "$PREFIX" "$DESKTOP_SIZE"
fi
# Drive changes take effect when the prefix's wineserver starts again.
stop_wineserver "$PREFIX"
# Windows' own CD-ROM AutoRun on, as on a freshly installed machine.
EXTRA_REG='[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Cdrom]
"AutoRun"=dword:00000001' set_cdrom_drives "$PREFIX" "D:$CDROM:VEXAMO_DEMO"

EXE_WIN=$(winpath "$PROGRAM/Vexamo.exe")
cd "$PROGRAM"
if [ "$started_xvfb" = 0 ]; then
  echo "run: starting Vexamo on display $DISPLAY (drive D: is $CDROM)"
  WINEPREFIX="$PREFIX" "$WINE" explorer /desktop=Vexamo,$DESKTOP_SIZE "$EXE_WIN"
  exit $?
fi

echo "run: no display; running on Xvfb $DISPLAY"
WINEPREFIX="$PREFIX" "$WINE" explorer /desktop=Vexamo,$DESKTOP_SIZE "$EXE_WIN" \
  >"$BUILD/run-wine.log" 2>&1 &
sleep "$WAIT"
rm -f "$SHOT"
timeout 30 import -window root "$SHOT"
echo "run: screenshot of the desktop after $WAIT s: $SHOT"
