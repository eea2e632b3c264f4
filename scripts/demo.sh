#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo script with the xyp executable.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh" "$top/build"
"$top/build/xyp" "$top/demo/demo.py"
