#!/bin/bash
# Takes the README's pictures: installs Vexamo with its installer into a fresh Wine prefix with a
# demo CD-ROM drive D:, in a 1024x768 virtual desktop on a private Xvfb, and walks through every
# window a user meets (tests/e2e/tour/Tour.cpp). Each picture is saved as docs/screenshots/<name>.png;
# a window the program does not have is reported and its old picture, if any, is left alone.
#
#   scripts/screenshots.sh
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="$ROOT/docs/screenshots"
WORK="$ROOT/build/screenshots"

timeout 2400 "$ROOT/scripts/bootstrap.sh" >/dev/null
cd "$ROOT"
timeout 600 cmake --preset windows >/dev/null
timeout 1200 cmake --build --preset windows --target Vexamo installer vexamo_tour

RUN=(bash "$ROOT/tests/e2e/run-e2e.sh" --work "$WORK")
# The prefix is made once and copied for every tour.
[ -f "$WORK/base-prefix/system.reg" ] || "${RUN[@]}" --make-base
rc=0
"${RUN[@]}" --group Tour --cdrom D:VEXAMO_DEMO --timeout 300 -- "$ROOT/build/windows/vexamo_tour.exe" || rc=$?

mkdir -p "$OUT"
shots=("$WORK/groups/Tour/screens/"*.png)
if [ ! -e "${shots[0]}" ]; then
  echo "screenshots: no pictures were taken" >&2
  exit 1
fi
cp "${shots[@]}" "$OUT/"
echo "screenshots: ${#shots[@]} pictures in $OUT"
[ "$rc" = 0 ] || echo "screenshots: the tour failed (exit $rc); see above" >&2
exit "$rc"
