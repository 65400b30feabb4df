#!/bin/bash
# Installs what is missing, builds both builds and runs every test under
# Wine and Xvfb through ctest.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/bootstrap.sh"
"$root/tools/build.sh"
cd "$root/build/x86_64"
ctest --output-on-failure "$@"
