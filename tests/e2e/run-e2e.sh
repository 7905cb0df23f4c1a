#!/bin/bash
# Runs one group of end-to-end tests (a Windows test program) under Wine on a private X display.
#
#   run-e2e.sh --work DIR --make-base
#       (Re)creates the run's base Wine prefix DIR/base-prefix. CTest does this once per run,
#       before any group.
#   run-e2e.sh --work DIR --group NAME [--no-cdrom | --cdrom D:LABEL ... --removable G:LABEL ...]
#              [--dpi N] [--timeout S] -- EXE ARGS...
#       Copies the base prefix for the group, gives it exactly the CD-ROM drives asked for (each a
#       folder DIR/groups/NAME/cdrom-<letter> holding a .windows-label), starts Xvfb, runs EXE and
#       returns its exit code. Screenshots land in DIR/groups/NAME/screens, scratch files in
#       DIR/groups/NAME/work; both stay for inspection. The group's prefix is removed afterwards.
#       --dpi gives the prefix that system DPI (LogPixels) and a screen large enough for windows
#       scaled to it.
#
# Only what this script started is stopped: its Xvfb and the wineserver of its own prefix.
set -uo pipefail

HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../../scripts/lib/wine.sh
. "$HERE/../../scripts/lib/wine.sh"

WORK= GROUP= MAKE_BASE=0 TIMEOUT=240 NO_CDROM=0 DPI=96
CDROMS=()
while [ $# -gt 0 ]; do
  case "$1" in
    --work) WORK=$2; shift 2 ;;
    --make-base) MAKE_BASE=1; shift ;;
    --group) GROUP=$2; shift 2 ;;
    --cdrom) CDROMS+=("$2"); shift 2 ;;
    --removable) CDROMS+=("$2:floppy"); shift 2 ;;
    --no-cdrom) NO_CDROM=1; shift ;;
    --timeout) TIMEOUT=$2; shift 2 ;;
    --dpi) DPI=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "run-e2e: unknown option $1" >&2; exit 2 ;;
  esac
done
[ -n "$WORK" ] || { echo "run-e2e: --work is required" >&2; exit 2; }
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)
BASE="$WORK/base-prefix"

if [ "$MAKE_BASE" = 1 ]; then
  # Built beside and then renamed, so a group never sees a half-made prefix.
  exec 9>"$WORK/base-prefix.lock"
  timeout 300 flock 9 || { echo "run-e2e: base prefix is locked" >&2; exit 1; }
  start_xvfb 1024x768 || exit 1
  trap 'stop_wineserver "$BASE.new"; stop_xvfb' EXIT
  start=$(date +%s)
  if ! make_prefix "$BASE.new"; then
    echo "run-e2e: could not create a Wine prefix" >&2
    exit 1
  fi
  stop_wineserver "$BASE.new"
  rm -rf "$BASE" && mv "$BASE.new" "$BASE"
  echo "run-e2e: base prefix ready in $(( $(date +%s) - start )) s: $BASE"
  exit 0
fi

[ -n "$GROUP" ] && [ $# -gt 0 ] || { echo "run-e2e: need --group NAME -- EXE [ARGS]" >&2; exit 2; }
[ -f "$BASE/system.reg" ] || { echo "run-e2e: no base prefix; run with --make-base first" >&2; exit 1; }
EXE=$1; shift

GDIR="$WORK/groups/$GROUP"
PREFIX="$GDIR/prefix"
cleanup() {
  stop_wineserver "$PREFIX"
  stop_xvfb
  rm -rf "$PREFIX"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

rm -rf "$GDIR"
mkdir -p "$GDIR/work" "$GDIR/screens"
cp -a "$BASE" "$PREFIX"

drives=()
driveenv=()
if [ "$NO_CDROM" = 0 ]; then
  for entry in "${CDROMS[@]}"; do
    letter=$(printf '%s' "${entry%%:*}" | tr a-z A-Z)
    folder="$GDIR/cdrom-$letter"
    drives+=("$letter:$folder:${entry#*:}")
    driveenv+=("VEXAMO_E2E_CDROM_$letter=$folder")
  done
fi
SCREEN=1024x768
if [ "$DPI" != 96 ]; then
  SCREEN="$(( 1024 * DPI / 96 ))x$(( 768 * DPI / 96 ))"
  dword=$(printf '%08x' "$DPI")
  EXTRA_REG="[HKEY_CURRENT_USER\\Control Panel\\Desktop]
\"LogPixels\"=dword:$dword

[HKEY_CURRENT_CONFIG\\Software\\Fonts]
\"LogPixels\"=dword:$dword

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
\"Default\"=\"$SCREEN\""
  export EXTRA_REG
fi
start_xvfb "$SCREEN" "$GDIR/xvfb.log" || exit 1
set_cdrom_drives "$PREFIX" "${drives[@]}"

echo "run-e2e: group $GROUP on display $DISPLAY, drives: ${drives[*]:-none}"
env WINEPREFIX="$PREFIX" VEXAMO_E2E_WORK="$GDIR/work" VEXAMO_E2E_SCREENS="$GDIR/screens" \
  "${driveenv[@]}" timeout -k 10 "$TIMEOUT" "$WINE" "$EXE" "$@" 2>"$GDIR/wine-stderr.log"
rc=$?
if [ $rc = 124 ] || [ $rc = 137 ]; then
  echo "run-e2e: group $GROUP did not finish within $TIMEOUT s" >&2
  [ -n "$DISPLAY" ] && timeout 20 import -window root "$GDIR/screens/timeout.png" 2>/dev/null \
    && echo "run-e2e: screen at the time: $GDIR/screens/timeout.png" >&2
fi
exit $rc
