#!/usr/bin/env bash
# Fuzzes xyp's Python surface for a bounded time against a build folder and prints the counts.
#
#   scripts/pyfuzz.sh [SECONDS] [BUILD_DIR] [fuzzer options...]   default: 60 s, build-pyfuzz
#
# The build folder must already be built (its python/ package is what is fuzzed). A sanitized
# build (XYP_SANITIZE=ON) runs under Debian's interpreter with the ASan runtime preloaded.
# Reproducers of findings go to BUILD_DIR/pyfuzz-findings (emptied first); the seed is
# random unless given (PYFUZZ_SEED or --seed). Exits non-zero on any finding.
# A case is replayed with --seed S --case N, a reproducer with --replay FILE.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
dir=${2:-$top/build-pyfuzz}
shift $(( $# < 2 ? $# : 2 ))
dir=$(cd "$dir" && pwd)
if [ ! -d "$dir/python/xyp" ]; then
  echo "pyfuzz: $dir/python/xyp not found; build the folder first" >&2
  exit 2
fi

export PYTHONPATH="$dir/python" PYTHONDONTWRITEBYTECODE=1 OPENBLAS_NUM_THREADS=1
if grep -q '^XYP_SANITIZE:BOOL=ON$' "$dir/CMakeCache.txt" 2>/dev/null; then
  cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$dir/CMakeCache.txt")
  cxx=${cxx:-g++}
  # The interpreter is not instrumented: preload the runtime (libstdc++ too, so that it finds
  # the C++ functions it intercepts). Failed allocations past 3 GiB return null, which the
  # module sees as std::bad_alloc, instead of taking the machine's memory.
  export LD_PRELOAD="$("$cxx" -print-file-name=libasan.so):$("$cxx" -print-file-name=libstdc++.so)"
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:malloc_limit_mb=3072:allocator_may_return_null=1}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
fi
seed=()
[ -n "${PYFUZZ_SEED:-}" ] && seed=(--seed "$PYFUZZ_SEED")
rm -rf "$dir/pyfuzz-findings"
cd "$dir"
exec /usr/bin/python3 "$top/fuzz/pysurface_fuzzer.py" --seconds "$seconds" \
  --findings "$dir/pyfuzz-findings" "${seed[@]}" "$@"
