#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan, in <build root>/fuzz)
# and runs them.
#   fuzz/run.sh check               every target over its seed corpus, then a short
#                                   bounded run each (KL_FUZZ_SECONDS, default 3);
#                                   skipped when clang has no libFuzzer
#   fuzz/run.sh run [target] [s]    one target (or all) for s seconds each (default 60)
#                                   or a million inputs (KL_FUZZ_RUNS), whichever comes first
#   fuzz/run.sh list                the target names
# Inputs found on the way go to <build root>/fuzz/found/<target>, crashes to
# <build root>/fuzz/artifacts; the seed corpora in fuzz/corpus are only read.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
build_root="${KL_BUILD_ROOT:-$root/build}"
dir="$build_root/fuzz"
cxx="${KL_FUZZ_CXX:-clang++}"
jobs="$(nproc 2>/dev/null || echo 2)"

# libFuzzer's limits: no input over 512 MiB of allocation or 2 GiB resident.
# An input slower than the timeout is a hang; the check allows more than the
# long runs because CI machines are shared.
limits=(-rss_limit_mb=2048 -malloc_limit_mb=512)

targets() {
  local corpus
  for corpus in "$here"/corpus/*/; do
    basename "$corpus"
  done
}

# clang that links a libFuzzer program with both sanitizers.
have_libfuzzer() {
  command -v "$cxx" >/dev/null 2>&1 || return 1
  local probe
  probe="$(mktemp -d)" || return 1
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' >"$probe/p.cpp"
  "$cxx" -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1
  local status=$?
  rm -rf "$probe"
  return $status
}

build() {
  mkdir -p "$dir"
  local gen=()
  command -v ninja >/dev/null 2>&1 && [ ! -f "$dir/Makefile" ] && gen=(-G Ninja)
  cmake -S "$here" -B "$dir" "${gen[@]}" -DCMAKE_CXX_COMPILER="$cxx" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log" >&2; echo "Configuring the fuzz targets failed." >&2; return 1; }
  cmake --build "$dir" -j "$jobs" --target fuzz_all >"$dir.build.log" 2>&1 \
    || { tail -n 40 "$dir.build.log" >&2; echo "Building the fuzz targets failed (log: $dir.build.log)." >&2; return 1; }
}

sanitizer_env() {
  export ASAN_OPTIONS="detect_leaks=1:intercept_tls_get_addr=0"
  export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
}

# fuzz_target <name> <seconds> <timeout>: the corpus first, then the timed run.
fuzz_target() {
  local name="$1" seconds="$2" timeout="$3"
  local exe="$dir/bin/fuzz_$name" log="$dir/logs/$name.log"
  local found="$dir/found/$name" corpus="$here/corpus/$name"
  mkdir -p "$dir/logs" "$dir/artifacts" "$found"
  [ -x "$exe" ] || { echo "$name: no fuzz target $exe" >&2; return 1; }
  local options=("${limits[@]}" -timeout="$timeout" -artifact_prefix="$dir/artifacts/$name-")
  [ -f "$here/dict/$name.dict" ] && options+=(-dict="$here/dict/$name.dict")
  if ! "$exe" "${options[@]}" -runs=0 "$corpus" >"$log" 2>&1; then
    echo "$name: FAILED on its seed corpus (log: $log)" >&2
    grep -E 'ERROR|SUMMARY|fuzz check failed|Test unit written|==[0-9]+==' "$log" | head -n 12 >&2
    return 1
  fi
  local cap=()
  [ -n "${KL_FUZZ_RUNS:-}" ] && cap=(-runs="$KL_FUZZ_RUNS")
  if ! "$exe" "${options[@]}" -max_total_time="$seconds" "${cap[@]}" -print_final_stats=1 "$found" "$corpus" >>"$log" 2>&1; then
    echo "$name: FAILED in a ${seconds} s run (log: $log)" >&2
    grep -E 'ERROR|SUMMARY|fuzz check failed|Test unit written|==[0-9]+==' "$log" | head -n 12 >&2
    return 1
  fi
  local runs cov
  runs="$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' | tail -n 1)"
  cov="$(grep -Eo 'cov: [0-9]+' "$log" | tail -n 1)"
  local took
  took="$(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$log" | grep -Eo 'in [0-9]+' | tail -n 1)"
  echo "$name: ok, $(find "$corpus" -type f | wc -l) seeds, $(find "$found" -type f | wc -l) inputs kept, ${runs:-?} inputs ${took:+$took s }(limit ${seconds} s), ${cov:-cov: ?}"
}

run_all() { # <seconds> <timeout> <names...>
  local seconds="$1" timeout="$2"; shift 2
  sanitizer_env
  local failed=()
  for name in "$@"; do
    fuzz_target "$name" "$seconds" "$timeout" || failed+=("$name")
  done
  if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzz targets failed: ${failed[*]} (crash inputs in $dir/artifacts)" >&2
    return 1
  fi
}

cmd_check() {
  if ! have_libfuzzer; then
    echo "Fuzz targets skipped: $cxx with libFuzzer is not available."
    return 0
  fi
  local start=$SECONDS
  build || return 1
  mapfile -t names < <(targets)
  run_all "${KL_FUZZ_SECONDS:-3}" 10 "${names[@]}"
  local status=$?
  echo "Fuzz targets: ${#names[@]} run in $((SECONDS - start)) s (build included)."
  return $status
}

cmd_run() {
  local only="${1:-}" seconds="${2:-60}"
  mapfile -t names < <(targets)
  if [ -n "$only" ]; then
    only="${only#fuzz_}"
    printf '%s\n' "${names[@]}" | grep -qx -- "$only" \
      || { echo "Unknown fuzz target '$only': choose one of ${names[*]}." >&2; return 2; }
    names=("$only")
  fi
  [[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "The run time must be a whole number of seconds." >&2; return 2; }
  have_libfuzzer || { echo "Cannot fuzz: $cxx with libFuzzer is not available (scripts/install-deps installs it)." >&2; return 1; }
  build || return 1
  # A long run ends after the time given or a million inputs, whichever comes first.
  KL_FUZZ_RUNS="${KL_FUZZ_RUNS:-1000000}" run_all "$seconds" 1 "${names[@]}"
}

case "${1:-}" in
  check) shift; cmd_check ;;
  run) shift; cmd_run "$@" ;;
  list) targets ;;
  *) echo "Usage: fuzz/run.sh check | run [target] [seconds] | list" >&2; exit 2 ;;
esac
