#!/usr/bin/env bash
# Runs the libFuzzer harnesses, each for SECONDS on a copy of its seed corpus (the repository's
# corpus is not changed), at most JOBS at a time.
#
# usage: fuzz/run.sh BUILD_FUZZ_DIR SECONDS [NAME...]     (names: dxf rc reg script; default all)
# Exit status 1 when a harness is missing, cannot run, or finds a crash, a hang (over 10 s for one
# input), a leak or a sanitizer report; the failing input is then kept in
# BUILD_FUZZ_DIR/fuzz-artifacts/<name>/ and the harness's log in BUILD_FUZZ_DIR/fuzz-logs/<name>.log.
# Environment: JOBS (default 2), FUZZ_CORPUS_DIR (a directory whose <name>/ subfolders are kept
# between runs instead of fresh copies).
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: fuzz/run.sh BUILD_FUZZ_DIR SECONDS [NAME...]}"
seconds="${2:?usage: fuzz/run.sh BUILD_FUZZ_DIR SECONDS [NAME...]}"
shift 2
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(dxf rc reg script)
jobs="${JOBS:-2}"
build="$(cd "$build" && pwd)"
mkdir -p "$build/fuzz-logs"

run_one() {
  local name="$1" bin="$build/fuzz/fuzz_$1"
  if [ ! -x "$bin" ]; then
    echo "fuzz $name: harness $bin is missing (build the 'fuzzers' target)" >&2
    return 1
  fi
  local corpus
  if [ -n "${FUZZ_CORPUS_DIR:-}" ]; then
    corpus="$FUZZ_CORPUS_DIR/$name"
    mkdir -p "$corpus"
  else
    corpus="$(mktemp -d)"
  fi
  cp -n "$here/corpus/$name"/* "$corpus/" 2>/dev/null || true
  [ -d "$here/regressions/$name" ] && cp -n "$here/regressions/$name"/* "$corpus/" 2>/dev/null || true
  local artifacts="$build/fuzz-artifacts/$name/"
  mkdir -p "$artifacts"
  local dict=()
  [ -f "$here/$name.dict" ] && dict=(-dict="$here/$name.dict")
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}" \
  UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    nice "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$artifacts" "${dict[@]}" "$corpus" \
      > "$build/fuzz-logs/$name.log" 2>&1
  local status=$?
  [ -z "${FUZZ_CORPUS_DIR:-}" ] && rm -rf "$corpus"
  local execs
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/fuzz-logs/$name.log" | tail -1)
  if [ $status -ne 0 ]; then
    echo "fuzz $name: FAILED (status $status) after ${execs:-?} runs; input in $artifacts, log $build/fuzz-logs/$name.log" >&2
    grep -m5 -E "ERROR|SUMMARY|runtime error|fuzz property broken" "$build/fuzz-logs/$name.log" >&2
    return 1
  fi
  if [ -z "$execs" ]; then
    echo "fuzz $name: FAILED: no run statistics (did the harness start?); log $build/fuzz-logs/$name.log" >&2
    return 1
  fi
  echo "fuzz $name: ok, $execs runs in $seconds s"
}

failed=0
pids=()
for name in "${names[@]}"; do
  run_one "$name" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit $failed
