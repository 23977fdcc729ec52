#!/usr/bin/env bash
# `./sdk run <tool>` on a machine where nothing was built yet: it installs the
# missing packages, builds only the tool with its libraries and side files,
# and starts it from its program folder. cmake and the installer are stand-ins
# that record how they were called.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"

cat >"$work/bin/cmake" <<'FAKE'
#!/usr/bin/env bash
echo "cmake $*" >>"$SDK_TEST_LOG"
if [ "$1" = "--build" ]; then
  mkdir -p "$2/Glazery"
  printf '#!/bin/sh\necho "glazery started in $(pwd)"\n' >"$2/Glazery/glazery"
  chmod +x "$2/Glazery/glazery"
  mkdir -p "$2/Stewardex"
  printf '#!/bin/sh\necho "stewardex started in $(pwd)"\n' >"$2/Stewardex/stewardex"
  chmod +x "$2/Stewardex/stewardex"
fi
FAKE
cat >"$work/bin/install-deps" <<'FAKE'
#!/usr/bin/env bash
echo "install-deps" >>"$SDK_TEST_LOG"
FAKE
chmod +x "$work/bin/cmake" "$work/bin/install-deps"

fail() { echo "FAIL: $*" >&2; echo "--- calls:" >&2; cat "$work/log" >&2; exit 1; }

output="$(SDK_TEST_LOG="$work/log" PATH="$work/bin:$PATH" DISPLAY=:99 \
          KL_INSTALL_DEPS="$work/bin/install-deps" KL_BUILD_ROOT="$work/build" \
          "$root/sdk" run glazery 2>&1)" || fail "sdk run exited with $?: $output"

[ "$(head -n 1 "$work/log")" = "install-deps" ] || fail "packages were not installed first"
build_line="$(grep -- '^cmake --build' "$work/log")" || fail "nothing was built"
[ "$(grep -c -- '^cmake --build' "$work/log")" -eq 1 ] || fail "more than one build step"
case "$build_line" in
  *"--target glazery media_content media_models"*) ;;
  *) fail "the build was not limited to Glazery: $build_line" ;;
esac
grep -q -- '-DCMAKE_BUILD_TYPE=Release' "$work/log" || fail "not a release build"
case "$output" in
  *"glazery started in $work/build/release/Glazery"*) ;;
  *) fail "Glazery did not start from its program folder: $output" ;;
esac

# Stewardex: its program target (which brings the engine, the utility
# library and the helpers along) and its program folder.
: >"$work/log"
output="$(SDK_TEST_LOG="$work/log" PATH="$work/bin:$PATH" DISPLAY=:99 \
          KL_INSTALL_DEPS="$work/bin/install-deps" KL_BUILD_ROOT="$work/build" \
          "$root/sdk" run stewardex 2>&1)" || fail "sdk run stewardex exited with $?: $output"
case "$(grep -- '^cmake --build' "$work/log")" in
  *"--target stewardex "*) ;;
  *) fail "the build was not limited to Stewardex: $(grep -- '^cmake --build' "$work/log")" ;;
esac
case "$output" in
  *"stewardex started in $work/build/release/Stewardex"*) ;;
  *) fail "Stewardex did not start from its program folder: $output" ;;
esac

# Without a display nothing is installed or built.
: >"$work/log"
status=0
SDK_TEST_LOG="$work/log" PATH="$work/bin:$PATH" DISPLAY= WAYLAND_DISPLAY= \
  KL_INSTALL_DEPS="$work/bin/install-deps" KL_BUILD_ROOT="$work/build" \
  "$root/sdk" run glazery >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "no display: exit status $status, expected 2"
[ ! -s "$work/log" ] || fail "no display, yet something was installed or built"
echo "sdk run: ok"
