#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each on a copy of its seed corpus.
#
#   scripts/fuzz.sh [SECONDS] [BUILD_DIR] [TARGET...]
#
#   SECONDS    run time of each target (default 60)
#   BUILD_DIR  default build-fuzz
#   TARGET     xyfile   the XY data text-file reader (fuzz/xyfile_fuzzer.cpp)
#              odbfile  opening and reading results files (fuzz/odbfile_fuzzer.cpp)
#              default: every target, one after the other
#
# Target T is fuzz/T_fuzzer.cpp, seeded from tests/data/fuzz_T/, with fuzz/T.dict when there is
# one. The platform's objects are shared by the targets; objects are rebuilt only when their
# source or any header is newer. Exits non-zero on any finding (crash, sanitizer report, leak,
# timeout, out-of-memory) of any target, after running them all; the reproducer is left in
# BUILD_DIR/T/findings. Extra libFuzzer options may be given in FUZZ_ARGS, the compiler in
# CXX_FUZZ (default clang++-14), the number of parallel compiles in JOBS.
# A finding is replayed with:  BUILD_DIR/T_fuzzer BUILD_DIR/T/findings/crash-...
# (XYP_FUZZ_VERBOSE=1 prints how each input ended).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
dir=${2:-$top/build-fuzz}
shift $(($# < 2 ? $# : 2))
all_targets=(xyfile odbfile)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  [ -f "$top/fuzz/${t}_fuzzer.cpp" ] || { echo "fuzz.sh: no target '$t' (${all_targets[*]})" >&2; exit 2; }
done
jobs=${JOBS:-$(nproc)}

# Input size limits: a text file for the XY reader; a model and a list of damages for the
# results-file target.
max_len() {
  case "$1" in
    odbfile) echo 2048 ;;
    *) echo 65536 ;;
  esac
}

# Debian's clang and its runtime libraries (libFuzzer and the sanitizers).
"$top/scripts/setup.sh" clang-14 libclang-rt-14-dev
cxx=${CXX_FUZZ:-clang++-14}

flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined)
includes=(-I"$top/include" -I"$top/platform/include" -I"$top/module/xyp/ker/impl"
          -I"$top/module/prb/ker/impl")
# The platform draws with Cairo, writes PNGs with zlib, stores results in HDF5 (1.10 API) and may
# call glibc's vector math.
read -r -a cairo_flags <<< "$(pkg-config --cflags cairo hdf5-serial) -DH5_USE_110_API"
read -r -a link_libs <<< "$(pkg-config --libs cairo zlib hdf5-serial)"
link_libs+=(-lmvec -lm)
includes+=("${cairo_flags[@]}")

platform_sources=()
for f in "$top"/platform/*.cpp "$top"/platform/*/*.cpp "$top"/module/xyp/ker/impl/*.cpp \
         "$top"/module/prb/ker/impl/*.cpp; do
  [ -e "$f" ] || continue
  case "$f" in "$top"/platform/python/*) continue ;; esac
  platform_sources+=("$f")
done
sources=("${platform_sources[@]}")
for t in "${targets[@]}"; do sources+=("$top/fuzz/${t}_fuzzer.cpp"); done

object_of() {
  local rel=${1#"$top"/}
  echo "$dir/obj/${rel//\//_}.o"
}

mkdir -p "$dir/obj"
# The newest header: an object older than it is rebuilt.
newest_header=$(find "$top/include" "$top/platform" "$top/module/xyp" "$top/module/prb" "$top/fuzz" \
                  -name '*.h' -printf '%T@ %p\n' | sort -n | tail -1 | cut -d' ' -f2-)
stale=()
for src in "${sources[@]}"; do
  obj=$(object_of "$src")
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
platform_objects=()
for src in "${platform_sources[@]}"; do platform_objects+=("$(object_of "$src")"); done
for t in "${targets[@]}"; do
  binary="$dir/${t}_fuzzer"
  objects=("$(object_of "$top/fuzz/${t}_fuzzer.cpp")" "${platform_objects[@]}")
  relink=0
  [ -f "$binary" ] || relink=1
  for obj in "${objects[@]}"; do [ "$obj" -nt "$binary" ] && relink=1; done
  if [ $relink -eq 1 ]; then
    "$cxx" "${flags[@]}" "${objects[@]}" "${link_libs[@]}" -o "$binary"
  fi
done
echo "Build: $((SECONDS - start)) s"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for t in "${targets[@]}"; do
  # The fuzzer grows its own copy of the corpus; the committed seeds stay as they are.
  corpus="$dir/$t/corpus"
  findings="$dir/$t/findings"
  rm -rf "$corpus" "$findings"
  mkdir -p "$corpus" "$findings"
  cp "$top/tests/data/fuzz_$t"/* "$corpus"/
  dict=()
  [ -f "$top/fuzz/$t.dict" ] && dict=(-dict="$top/fuzz/$t.dict")
  echo "Fuzzing $t for $seconds s"
  start=$SECONDS
  set +e
  # shellcheck disable=SC2086
  "$dir/${t}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="$(max_len "$t")" "${dict[@]}" -print_final_stats=1 -artifact_prefix="$findings/" \
    ${FUZZ_ARGS:-} "$corpus"
  status=$?
  set -e
  echo "Run of $t: $((SECONDS - start)) s, exit $status"
  if [ $status -ne 0 ] || [ -n "$(ls -A "$findings")" ]; then
    echo "FINDINGS of $t: see $findings" >&2
    ls -l "$findings" >&2
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]}" >&2
  exit 1
fi
echo "No finding."
