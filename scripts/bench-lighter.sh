#!/bin/bash
# Prints the before/after figures of the agent's costs, each side by side in one run on this
# machine: start-up and idle memory against a bare tray program built with the same toolchain and
# manifest (bench/win32/BareTray.cpp, timed by bench/win32/StartBench.cpp under Wine); the
# configuration window's model for many players (natively over the fake platform, and under Wine
# over the real profile functions); the size of the shipped, stripped Vexamo.exe; the disc's
# arrival against a bare walk of it (bench/win32/ArrivalBench.cpp) and, with VEXAMO_BENCH_SCAN=1,
# the walk of a 10,000-file disc (ScanBench). Run by hand; the test command does not run it.
#
#   scripts/bench-lighter.sh [BASE_REVISION]     the "before"; default ef401f0
#
# VEXAMO_BENCH_ROUNDS (5) rounds of each; VEXAMO_BENCH_IDLE (10) seconds each program sits idle
# before its memory is read. The base revision is exported into build/bench-base/src (its own
# bootstrap builds its own libjpeg there) with today's players benchmark laid over it, and built
# there once. The current tree is built with its presets; its StartBench and BareTray serve both
# sides. A cold run takes about a quarter of an hour on two cores.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BASE_REV=${1:-ef401f0}
BASE="$ROOT/build/bench-base"
BASE_SRC="$BASE/src"
ROUNDS=${VEXAMO_BENCH_ROUNDS:-5}
IDLE=${VEXAMO_BENCH_IDLE:-10}

log() { echo "bench-lighter: $*" >&2; }

prepare_base() {
  local rev
  rev=$(git -C "$ROOT" rev-parse "$BASE_REV")
  if [ -f "$BASE_SRC/.revision" ] && [ "$(cat "$BASE_SRC/.revision")" = "$rev" ]; then return; fi
  log "exporting $BASE_REV into $BASE_SRC"
  rm -rf "$BASE_SRC"
  mkdir -p "$BASE_SRC"
  git -C "$ROOT" archive "$rev" | tar -x -C "$BASE_SRC"
  # The same benchmark programs on both sides; they use only what the base already had.
  mkdir -p "$BASE_SRC/bench/win32"
  cp "$ROOT/bench/PlayersCases.h" "$ROOT/bench/PlayersBench.cpp" "$BASE_SRC/bench/"
  cp "$ROOT/bench/win32/PlayersBench.cpp" "$BASE_SRC/bench/win32/"
  if ! grep -q PlayersBench "$BASE_SRC/cmake/windows.cmake"; then
    cat >>"$BASE_SRC/cmake/windows.cmake" <<'CMAKE'
add_executable(PlayersBench ${CMAKE_SOURCE_DIR}/bench/win32/PlayersBench.cpp ${VEXAMO_TEST_MANIFEST})
target_include_directories(PlayersBench PRIVATE ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/src
  ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(PlayersBench PRIVATE vexamo_win32platform vexamo_core ${VEXAMO_WIN32_LIBS})
CMAKE
  fi
  # Before the layers were ordered, the process-wide references lived in the agent's folder.
  if [ ! -f "$BASE_SRC/src/app/Globals.h" ] && [ -f "$BASE_SRC/src/agent/Globals.h" ]; then
    mkdir -p "$BASE_SRC/src/app"
    echo '#include "agent/Globals.h"' >"$BASE_SRC/src/app/Globals.h"
  fi
  echo "$rev" >"$BASE_SRC/.revision"
}

build_tree() {  # source folder, extra Windows targets...
  local src=$1 out
  shift
  out="$src/build/bench-lighter-build.log"
  mkdir -p "$src/build"
  log "building $src (output in $out)"
  if ! (cd "$src" && bash scripts/bootstrap.sh &&
    cmake --preset native && cmake --build --preset native -j2 --target benchmarks &&
    cmake --preset windows && cmake --build --preset windows -j2 --target Vexamo PlayersBench "$@") >"$out" 2>&1; then
    tail -20 "$out" >&2
    log "building $src failed; see $out"
    exit 1
  fi
}

winpath() { local p=$1; echo "Z:${p//\//\\}"; }

stripped_size() {  # exe
  local out
  out=$(mktemp)
  x86_64-w64-mingw32-strip --strip-all -o "$out" "$1"
  stat -c %s "$out"
  rm -f "$out"
}

native_bench() {  # source folder -> "name ms" lines
  "$1/build/native/benchmarks" --benchmark_filter=OpenWindow --benchmark_repetitions="$ROUNDS" \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '$1 ~ /_median"$/ { gsub(/"/, "", $1); sub(/_median$/, "", $1); print $1, $3 }'
}

wine_bench() {  # source folder, group name -> PlayersBench output
  local pictures=() p
  # The program's own pictures, through Wine's drive Z: (the root of this machine).
  for p in "$ROOT"/resources/*.jpg; do pictures+=("$(winpath "$p")"); done
  bash "$ROOT/tests/e2e/run-e2e.sh" --work "$ROOT/build/windows/e2e" --group "$2" --no-cdrom --timeout 900 \
    -- "$1/build/windows/PlayersBench.exe" "$ROUNDS" "${pictures[@]}" | tr -d '\r' | grep '^PlayersBench:'
}

extra_targets=(BareTray StartBench ArrivalBench StandInPlayer)
[ "${VEXAMO_BENCH_SCAN:-0}" = 1 ] && extra_targets+=(ScanBench)
prepare_base
build_tree "$BASE_SRC"
build_tree "$ROOT" "${extra_targets[@]}"
[ -d "$ROOT/build/windows/e2e/base-prefix" ] ||
  bash "$ROOT/tests/e2e/run-e2e.sh" --work "$ROOT/build/windows/e2e" --make-base >/dev/null

# Both agents as the installer ships them, stripped: what users run.
mkdir -p "$ROOT/build/bench-lighter/before" "$ROOT/build/bench-lighter/after"
"${STRIP:-x86_64-w64-mingw32-strip}" --strip-all -o "$ROOT/build/bench-lighter/before/Vexamo.exe" "$BASE_SRC/build/windows/Vexamo.exe"
"${STRIP:-x86_64-w64-mingw32-strip}" --strip-all -o "$ROOT/build/bench-lighter/after/Vexamo.exe" "$ROOT/build/windows/Vexamo.exe"
agent_before="$(winpath "$ROOT/build/bench-lighter/before/Vexamo.exe")"
agent_after="$(winpath "$ROOT/build/bench-lighter/after/Vexamo.exe")"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "== Configuration window model, native over the fake (median of $ROUNDS, ms) =="
paste <(native_bench "$BASE_SRC") <(native_bench "$ROOT") |
  awk '{ printf "%-36s before %9.2f  after %9.2f\n", $1, $2, $4 }'
for side in "$BASE_SRC" "$ROOT"; do
  native_bench "$side" | awk -v side="$([ "$side" = "$ROOT" ] && echo after || echo before)" '
    $1 ~ /\/custom:0\/selected:0$/ { c0 = $2 } $1 ~ /\/custom:200\/selected:0$/ { c200 = $2 }
    $1 ~ /\/custom:1\/selected:1$/ { s1 = $2 } $1 ~ /\/custom:500\/selected:500$/ { s500 = $2 }
    END { printf "%-6s 200 players / 0: %.2f (goal <= 3)   500 selected add %.1f ms (goal < 500)\n", side, c200 / c0, s500 - s1 }'
done

echo "== Configuration window model under Wine, real profile functions (median of $ROUNDS) =="
echo "-- before"
wine_bench "$BASE_SRC" PlayersBenchBefore
echo "-- after"
wine_bench "$ROOT" PlayersBenchAfter

echo "== Disc arrival -> player started, 10,000 files in 1,000 folders, against a bare walk (median of $ROUNDS) =="
echo "-- agent 0 before, agent 1 after"
bash "$ROOT/tests/e2e/run-e2e.sh" --work "$ROOT/build/windows/e2e" --group ArrivalBench --cdrom D:ARRIVAL --timeout 900 \
  -- "$ROOT/build/windows/ArrivalBench.exe" 'D:\' "$ROUNDS" "$agent_before" "$agent_after" | tr -d '\r' | grep '^ArrivalBench:'

echo "== Vexamo.exe, stripped (bytes) =="
before=$(stripped_size "$BASE_SRC/build/windows/Vexamo.exe")
after=$(stripped_size "$ROOT/build/windows/Vexamo.exe")
echo "before $before  after $after  after/before $(ratio "$after" "$before")  goal <= 1101004 (1.05 MB): $([ "$after" -le 1101004 ] && echo met || echo missed)"

echo "== Start-up (launch -> tray icon -> first answer) and memory after ${IDLE} s idle, against a bare tray program (median of $ROUNDS) =="
# StartBench runs each program from a copy in a folder of its own, in turns round by round. The
# agents start to the tray, as every day, with a selected player and monitoring on
# (bench/win32/tray-start); the
# "first" rows are their first start, which opens the configuration window (an empty Selection.ini).
tray="$(winpath "$ROOT/bench/win32/tray-start")"
bash "$ROOT/tests/e2e/run-e2e.sh" --work "$ROOT/build/windows/e2e" --group StartBench --cdrom D:VEXAMO_DEMO --timeout 1800 \
  -- "$ROOT/build/windows/StartBench.exe" "$ROUNDS" "$IDLE" "bare=$(winpath "$ROOT/build/windows/BareTray.exe")" \
  "before=$agent_before,$tray\\Players.ini,$tray\\Selection.ini,$tray\\Vexamo.ini" \
  "after=$agent_after,$tray\\Players.ini,$tray\\Selection.ini,$tray\\Vexamo.ini" \
  "first-before=$agent_before,Selection.ini" "first-after=$agent_after,Selection.ini" |
  tr -d '\r' | grep '^StartBench:'
echo "(idle CPU is what Wine reports for the process through GetProcessTimes)"

if [ "${VEXAMO_BENCH_SCAN:-0}" = 1 ]; then
  echo "== Walk of a 10,000-file disc (this tree) =="
  bash "$ROOT/tests/e2e/run-e2e.sh" --work "$ROOT/build/windows/e2e" --group ScanBench --cdrom D:SCANBENCH \
    --timeout 900 -- "$ROOT/build/windows/ScanBench.exe" 'D:\' "$ROUNDS" | tr -d '\r' | grep -v '^run-e2e'
fi
