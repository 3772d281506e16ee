#!/usr/bin/env bash
# Configures (once) and builds the project into build/ with Ninja and ccache.
# Usage: scripts/build.sh [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${KS_BUILD_DIR:-$root/build}"

export CCACHE_BASEDIR="$root"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
export CCACHE_COMPILERCHECK=content
# Debug builds embed the build folder; hashing it would miss the cache for
# every other checkout of the same sources.
export CCACHE_NOHASHDIR=1

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${KS_BUILD_TYPE:-Debug}" ${KS_CMAKE_ARGS:-}
fi
# Automoc does not notice sources added to a globbed folder in an existing
# build; when the set of sources changed, let it scan everything again.
sources=$(cd "$root" && { find . -path ./build -prune -o -path './build-*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print || true; } | sort | md5sum)
if [ "$(cat "$build/.source-list" 2>/dev/null)" != "$sources" ]; then
  find "$build" -path '*_autogen/timestamp' -delete 2>/dev/null || true
  echo "$sources" > "$build/.source-list"
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j2 "${targets[@]}"
