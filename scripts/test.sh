#!/bin/bash
# Runs every test: the native unit tests, the same tests and the sequence test under the
# sanitizers, then the Windows build and its end-to-end tests under Wine on a virtual display.
# Prints CTest's summaries; exits non-zero when anything failed.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
mkdir -p build

step() { printf '\n=== %s\n' "$*"; }

# CTest with one line per failed test and its summaries; the hundreds of "Passed" lines of the
# unit tests would bury them.
ctest_summary() {
  timeout 900 ctest "$@" | grep -v -E '^ *Start +[0-9]+: |^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed +[0-9.]+ sec$'
  return "${PIPESTATUS[0]}"
}
failed=()

step "bootstrap"
timeout 2400 scripts/bootstrap.sh || { echo "test: bootstrap failed" >&2; exit 1; }

step "native build and unit tests"
if timeout 600 cmake --preset native >build/configure-native.log 2>&1 \
   && timeout 1200 cmake --build --preset native; then
  rm -f build/configure-native.log
  ctest_summary --preset native -j2 --timeout 120 || failed+=("native unit tests")
else
  cat build/configure-native.log 2>/dev/null; rm -f build/configure-native.log
  failed+=("native build")
fi

step "sanitizer build, unit tests and sequence test (AddressSanitizer, UndefinedBehaviorSanitizer)"
if timeout 600 cmake --preset asan >build/configure-asan.log 2>&1 \
   && timeout 1800 cmake --build --preset asan --target unit_tests sequence_tests; then
  rm -f build/configure-asan.log
  VEXAMO_SEQUENCE_SECONDS=60 ctest_summary --preset asan -j2 --timeout 300 || failed+=("sanitizer tests")
else
  cat build/configure-asan.log 2>/dev/null; rm -f build/configure-asan.log
  failed+=("sanitizer build")
fi

step "Windows build and end-to-end tests (Wine)"
if timeout 600 cmake --preset windows >build/configure-windows.log 2>&1 \
   && timeout 1200 cmake --build --preset windows; then
  rm -f build/configure-windows.log
  timeout 1500 ctest --preset windows -L e2e -j2 || failed+=("end-to-end tests")
else
  cat build/configure-windows.log 2>/dev/null; rm -f build/configure-windows.log
  failed+=("Windows build")
fi

echo
if [ ${#failed[@]} -gt 0 ]; then
  printf 'test: FAILED: %s\n' "${failed[@]}"
  exit 1
fi
echo "test: all tests passed"
