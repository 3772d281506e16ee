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
  (cd "$root/build-asan" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600)
fi
