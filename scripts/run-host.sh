#!/usr/bin/env bash
# The main job: set up, build and run the stand-in host. Without a display
# it renders its window to build/host.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" host
cd "$root/build"
exec ./bin/host "$@"
