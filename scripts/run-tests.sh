#!/usr/bin/env bash
# Sets up, builds and runs every test; then builds the tests again with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) and runs them
# there too. KS_SKIP_SANITIZERS=1 skips the second run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 300)

if [ "${KS_SKIP_SANITIZERS:-0}" != "1" ]; then
  KS_BUILD_DIR="$root/build-asan" KS_CMAKE_ARGS="-DKS_SANITIZE=ON" bash "$root/scripts/build.sh"
  # Qt comes without frame pointers, so the fast unwinder stops at the first
  # Qt frame; the slow one walks through Qt and reaches our frames (and the
  # Qt frames that tests/lsan.supp names).
  stacks="fast_unwind_on_malloc=0:malloc_context_size=64"
  # The sanitizer's own record of dynamic TLS blocks goes stale when an
  # image plugin's TLS block is freed, and the leak check at exit then
  # walks a garbage range and crashes; without the interception the blocks
  # are plain heap blocks the check still scans.
  (cd "$root/build-asan" &&
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}$stacks:intercept_tls_get_addr=0" \
    LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}$stacks:suppressions=$root/tests/lsan.supp" \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600)
fi
