#!/usr/bin/env bash
# The fuzz part of `./sdk test` and `./sdk fuzz`: every target is run over
# its seed corpus and then for a short bounded time, a crash fails the whole
# test run, a machine without libFuzzer skips the part. cmake, ctest, clang++
# and the fuzz targets are stand-ins that record how they were called.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
targets=($(ls "$root/fuzz/corpus"))

cat >"$work/bin/cmake" <<FAKE
#!/usr/bin/env bash
echo "cmake \$*" >>"\$SDK_TEST_LOG"
if [ "\$1" = "--build" ] && [ "\$(basename "\$2")" = fuzz ]; then
  mkdir -p "\$2/bin"
  for t in ${targets[*]}; do
    printf '#!/bin/sh\necho "fuzz_%s \$*" >>"\$SDK_TEST_LOG"\nif [ "\$CRASH_TARGET" = %s ]; then echo "==7==ERROR: AddressSanitizer: SEGV on unknown address" >&2; exit 1; fi\necho "#9 DONE cov: 42 ft: 50 corp: 3/30b"\n' "\$t" "\$t" >"\$2/bin/fuzz_\$t"
    chmod +x "\$2/bin/fuzz_\$t"
  done
fi
FAKE
cat >"$work/bin/ctest" <<'FAKE'
#!/usr/bin/env bash
echo "ctest $*" >>"$SDK_TEST_LOG"
echo "100% tests passed, 0 tests failed out of 1"
FAKE
cat >"$work/bin/clang++" <<'FAKE'
#!/usr/bin/env bash
# Links anything: the output named after -o is made.
while [ $# -gt 0 ]; do [ "$1" = -o ] && : >"$2"; shift; done
FAKE
printf '#!/bin/sh\n' >"$work/bin/install-deps"
chmod +x "$work/bin/"*

fail() { echo "FAIL: $*" >&2; echo "--- calls:" >&2; cat "$work/log" >&2 || true; exit 1; }
sdk() { # runs ./sdk with the stand-ins; prints its output, returns its status
  : >"$work/log"
  SDK_TEST_LOG="$work/log" PATH="$work/bin:$PATH" DISPLAY=:99 KL_FUZZ_CXX="${FUZZ_CXX:-$work/bin/clang++}" \
    KL_INSTALL_DEPS="$work/bin/install-deps" KL_BUILD_ROOT="$work/build" CRASH_TARGET="${CRASH_TARGET:-}" \
    "$root/sdk" "$@" 2>&1
}

# All targets pass: each runs over its corpus, then a few seconds, and the run passes.
output="$(sdk test)" || fail "sdk test failed with passing fuzz targets: $output"
for t in "${targets[@]}"; do
  grep -q -- "^fuzz_$t .*-runs=0 $root/fuzz/corpus/$t\$" "$work/log" || fail "$t was not run over its corpus"
  grep -q -- "^fuzz_$t .*-max_total_time=3 .*$work/build/fuzz/found/$t $root/fuzz/corpus/$t\$" "$work/log" \
    || fail "$t had no short run that keeps the seed corpus unchanged"
  case "$output" in *"$t: ok"*"cov: 42"*) ;; *) fail "no result line for $t: $output" ;; esac
done
grep -q -- "-malloc_limit_mb=512" "$work/log" || fail "no allocation limit"
grep -q -- "-dict=$root/fuzz/dict/model_x.dict" "$work/log" || fail "the X dictionary was not used"
grep -q -- "--target fuzz_all" "$work/log" || fail "the fuzz targets were not built alone"

# A crash in one target's corpus fails `./sdk test`, naming the target.
if output="$(CRASH_TARGET=objects_list sdk test)"; then fail "sdk test passed with a crashing fuzz target"; fi
case "$output" in
  *"objects_list: FAILED on its seed corpus"*"AddressSanitizer: SEGV"*"Fuzz targets failed: objects_list"*) ;;
  *) fail "the crash was not reported: $output" ;;
esac
grep -q -- "^fuzz_material_file .*-max_total_time" "$work/log" || fail "the other targets did not run after a crash"

# No clang with libFuzzer: the fuzz part is skipped, the tests still decide.
output="$(FUZZ_CXX=/nonexistent/clang++ sdk test)" || fail "sdk test failed without clang: $output"
case "$output" in *"Fuzz targets skipped"*) ;; *) fail "the skip was not reported: $output" ;; esac
! grep -q '^fuzz_' "$work/log" || fail "fuzz targets ran without clang"

# ./sdk fuzz <target> <seconds>: that target alone, for that long, with a 1 s input timeout.
output="$(sdk fuzz model_3ds 30)" || fail "sdk fuzz failed: $output"
[ "$(grep -c '^fuzz_' "$work/log")" -eq 2 ] || fail "sdk fuzz ran other targets"
grep -q -- "^fuzz_model_3ds .*-timeout=1 .*-max_total_time=30 " "$work/log" || fail "sdk fuzz did not run model_3ds for 30 s"
grep -q -- "^fuzz_model_3ds .*-max_total_time=30 -runs=1000000 " "$work/log" || fail "sdk fuzz has no cap of a million inputs"
if output="$(sdk fuzz no_such_target 5)"; then fail "an unknown target was accepted"; fi
case "$output" in *"Unknown fuzz target 'no_such_target'"*) ;; *) fail "no message for an unknown target: $output" ;; esac
echo "ok"
