#!/usr/bin/env bash
# Builds the level cycles with AddressSanitizer and UndefinedBehaviorSanitizer in
# a build folder of their own and runs them there. The run fails on a leak, a use
# after free or undefined behaviour (the sanitizers end the process with a report),
# a GL error, or resident memory that grows from the second cycle to the tenth.
# Options after the launcher (warnings as errors, as the ordinary build has them)
# go to CMake.
#   sanitized_level_cycles.sh SOURCE_DIR BUILD_DIR [COMPILER_LAUNCHER [CMAKE_OPTION...]]
set -euo pipefail
source_dir=$1
build_dir=$2
launcher=${3:-}
shift $(($# < 3 ? $# : 3))

configure=(-DVEXA_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@")
[ -n "$launcher" ] && configure+=(-DCMAKE_C_COMPILER_LAUNCHER="$launcher"
                                  -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher")
cmake -S "$source_dir" -B "$build_dir" "${configure[@]}" >/dev/null
cmake --build "$build_dir" --target vexa_level_cycles_tests -j2

cd "$build_dir/bin"
# A quarantine of freed blocks far smaller than the default 256 MB is full within
# the first cycle, so its filling up does not read as growth between cycles (at
# 32 MB the tenth cycle still stood 4.8-5.2% above the second); 8 MB of freed
# blocks still hold what one level's tear-down frees just before a use. And
# allocations first record only their caller: through Mesa's and LLVM's code,
# built without frame pointers, the fast unwinder gives deeper stacks that differ
# from cycle to cycle, and the sanitizer's store of them grows by about half a
# megabyte a cycle. Leaks and uses after free are caught all the same (a leak
# needs at least the caller to be reported); a failed run is repeated with whole
# stacks, for the report.
sanitized() {
  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:quarantine_size_mb=8:malloc_context_size=$1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$build_dir/tests/vexa_level_cycles_tests"
}
if ! sanitized 2; then
  echo "--- again, with the allocation stacks:"
  sanitized 30 || true
  exit 1
fi
