#!/usr/bin/env bash
# Runs the libFuzzer targets one after another, each for SECONDS (default 600), under the address
# and undefined-behaviour sanitizers (the "fuzz" preset; needs clang with libFuzzer).
#   scripts/fuzz.sh [SECONDS] [TARGET...]      (targets: tools/fuzz_*.cpp; default all)
# FUZZ_RUNS=N in the environment also ends each target after N executions.
# Each target starts from its committed corpus (tests/fuzz_corpus/<target>/) and grows a working
# corpus in build/fuzz/corpus/<target>/. A crash is written to build/fuzz/crashes/<target>/ and
# copied into the committed corpus, so that ctest replays it from then on; fix it, then commit.
# The last line per target gives its executions and its coverage at the end (libFuzzer's cov and
# ft); the exit status is 1 when any target crashed.
# The sanitizer keeps no stack for allocations while fuzzing (a good part of the heavy targets'
# time); run the target on a crash file by itself to see its report with whole stacks.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in tools/fuzz_*.cpp; do
    name=$(basename "$src" .cpp)
    [ "$name" = fuzz_replay_driver ] || targets+=("$name")
  done
fi
cmake --preset fuzz >/dev/null || exit 2
cmake --build --preset fuzz -j 2 --target "${targets[@]}" || exit 2

status=0
for t in "${targets[@]}"; do
  work="build/fuzz/corpus/$t"
  crashes="build/fuzz/crashes/$t"
  mkdir -p "$work" "$crashes"
  extra=()
  case "$t" in
    fuzz_save_load | fuzz_predecessor_load | fuzz_file_fields | fuzz_pbval) extra=(-dict=tools/fuzz_text.dict) ;;
    # A game needs many keys to get anywhere: long scripts from the start.
    fuzz_game_keys) extra=(-max_len=1024 -len_control=0) ;;
    # A line holds 255 bytes: a few hundred keys fill it, edit it and scroll it; longer inputs
    # only beep at a full line, and slow every run.
    fuzz_line_editor) extra=(-max_len=640) ;;
  esac
  log="build/fuzz/$t.log"
  ASAN_OPTIONS=detect_leaks=1:malloc_context_size=0 "build/fuzz/tools/$t" "$work" "tests/fuzz_corpus/$t" "${extra[@]}" \
    -max_total_time="$seconds" ${FUZZ_RUNS:+-runs="$FUZZ_RUNS"} -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$crashes/" >"$log" 2>&1
  rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  coverage=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')
  found=$(find "$crashes" -type f | wc -l)
  for f in "$crashes"/*; do
    [ -f "$f" ] && cp "$f" "tests/fuzz_corpus/$t/$(basename "$f")"
  done
  echo "$t: ${execs:-?} executions, ${rate:-?}/s (limit ${seconds} s${FUZZ_RUNS:+ or $FUZZ_RUNS runs})," \
    "${coverage:-no coverage line}, exit $rc, ${found} crash files (log $log)"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then status=1; fi
done
exit $status
