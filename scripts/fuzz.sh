#!/usr/bin/env bash
# Builds the libFuzzer target of the XY data text-file reader with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it on a copy of the seed corpus.
#
#   scripts/fuzz.sh [SECONDS] [BUILD_DIR]      default: 60 seconds, build-fuzz
#
# Objects are rebuilt only when their source or any header is newer. Exits non-zero on any
# finding (crash, sanitizer report, leak, timeout, out-of-memory); the reproducer is left in
# BUILD_DIR/findings. Extra libFuzzer options may be given in FUZZ_ARGS, the compiler in
# CXX_FUZZ (default clang++-14), the number of parallel compiles in JOBS.
# A finding is replayed with:  BUILD_DIR/xyfile_fuzzer BUILD_DIR/findings/crash-...
# (XYP_FUZZ_VERBOSE=1 prints how each read ended).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
dir=${2:-$top/build-fuzz}
jobs=${JOBS:-$(nproc)}

# Debian's clang and its runtime libraries (libFuzzer and the sanitizers).
"$top/scripts/setup.sh" clang-14 libclang-rt-14-dev
cxx=${CXX_FUZZ:-clang++-14}

flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined)
includes=(-I"$top/include" -I"$top/platform/include" -I"$top/module/xyp/ker/impl"
          -I"$top/module/prb/ker/impl")
# The platform draws with Cairo, writes PNGs with zlib, stores results in HDF5 and may call glibc's
# vector math.
# Results files are HDF5 files (1.10 API).
read -r -a cairo_flags <<< "$(pkg-config --cflags cairo hdf5-serial) -DH5_USE_110_API"
read -r -a link_libs <<< "$(pkg-config --libs cairo zlib hdf5-serial)"
link_libs+=(-lmvec -lm)
includes+=("${cairo_flags[@]}")

sources=("$top/fuzz/xyfile_fuzzer.cpp")
for f in "$top"/platform/*.cpp "$top"/platform/*/*.cpp "$top"/module/xyp/ker/impl/*.cpp \
         "$top"/module/prb/ker/impl/*.cpp; do
  [ -e "$f" ] || continue
  case "$f" in "$top"/platform/python/*) continue ;; esac
  sources+=("$f")
done

mkdir -p "$dir/obj"
# The newest header: an object older than it is rebuilt.
newest_header=$(find "$top/include" "$top/platform" "$top/module/xyp" "$top/module/prb" \
                  -name '*.h' -printf '%T@ %p\n' | sort -n | tail -1 | cut -d' ' -f2-)
stale=()
objects=()
for src in "${sources[@]}"; do
  rel=${src#"$top"/}
  obj="$dir/obj/${rel//\//_}.o"
  objects+=("$obj")
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ "$newest_header" -nt "$obj" ]; then
    stale+=("$src")
  fi
done

start=$SECONDS
if [ ${#stale[@]} -gt 0 ]; then
  echo "Compiling ${#stale[@]} of ${#sources[@]} sources with $cxx ($jobs jobs)"
  export cxx dir top
  export FLAGS="${flags[*]}" INCLUDES="${includes[*]}"
  printf '%s\0' "${stale[@]}" | xargs -0 -P "$jobs" -I{} bash -c '
    src="$1"; rel=${src#"$top"/}; obj="$dir/obj/${rel//\//_}.o"
    # shellcheck disable=SC2086
    $cxx $FLAGS $INCLUDES -c "$src" -o "$obj.tmp" && mv "$obj.tmp" "$obj"' _ {}
fi
binary="$dir/xyfile_fuzzer"
relink=0
[ -f "$binary" ] || relink=1
for obj in "${objects[@]}"; do [ "$obj" -nt "$binary" ] && relink=1; done
if [ $relink -eq 1 ]; then
  "$cxx" "${flags[@]}" "${objects[@]}" "${link_libs[@]}" -o "$binary"
fi
echo "Build: $((SECONDS - start)) s"

# The fuzzer grows its own copy of the corpus; the committed seeds stay as they are.
corpus="$dir/corpus"
findings="$dir/findings"
rm -rf "$corpus" "$findings"
mkdir -p "$corpus" "$findings"
cp "$top"/tests/data/fuzz_xyfile/* "$corpus"/

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
start=$SECONDS
set +e
# shellcheck disable=SC2086
"$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -dict="$top/fuzz/xyfile.dict" -print_final_stats=1 -artifact_prefix="$findings/" \
  ${FUZZ_ARGS:-} "$corpus"
status=$?
set -e
echo "Run: $((SECONDS - start)) s, exit $status"
if [ $status -ne 0 ] || [ -n "$(ls -A "$findings")" ]; then
  echo "FINDINGS: see $findings" >&2
  ls -l "$findings" >&2
  exit 1
fi
echo "No finding."
