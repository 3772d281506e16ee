#!/usr/bin/env bash
# The main job: set up, build everything and run the stand-in host Brivora
# from its sample installation in build/sample (laid out on first use; the
# program and its libraries are refreshed from the build on every run).
# Arguments go to the host: --lang es|en, --restricted, --screenshots DIR.
# Without a display it renders its window to build/host.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
cd "$root/build"
exec ./bin/Brivora --sample "$root/build/sample" "$@"
