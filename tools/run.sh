#!/bin/bash
# Installs what is missing, builds both builds and starts the installer on
# the demo medium under Wine.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/bootstrap.sh"
"$root/tools/build.sh"
if [ ! -f "$root/build/x86_64/KELBRINE.EXE" ]; then
  echo "The engine's libraries and tests are built; the KELBRINE program itself is not built yet."
  exit 0
fi
exec "$root/tools/demo.sh"
