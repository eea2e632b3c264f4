#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (C++ through CTest, Python through
# pytest), then the whole suite once more in an ASan + UBSan build with a minute of random calls
# through the Python surface, then a minute of fuzzing the text-file reader.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
jobs=$(nproc)

"$top/scripts/build.sh" "$top/build"
(cd "$top/build" && ctest --output-on-failure -j "$jobs")

"$top/scripts/build.sh" "$top/build-sanitize" -DXYP_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd "$top/build-sanitize" && ctest --output-on-failure -j "$jobs")
# The Python surface under random calls, in the sanitized build: a crash or a sanitizer report in
# any case fails the run (each case runs in a forked child).
"$top/scripts/pyfuzz.sh" 60 "$top/build-sanitize"
# Every libFuzzer target (clang, ASan + UBSan) for 30 s each: the text-file reader, then opening
# and reading results files.
"$top/scripts/fuzz.sh" 30
echo "All tests passed (plain and sanitized builds, fuzzing)."
