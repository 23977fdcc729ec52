#!/usr/bin/env bash
# A build without tests must configure: nothing outside the test folders may
# need GoogleTest or a test library.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(mktemp -d)
trap 'rm -rf "$build_dir"' EXIT
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKL_BUILD_TESTS=OFF -DKL_BUILD_BENCH=ON >"$build_dir/log" 2>&1 ||
  { cat "$build_dir/log"; exit 1; }
if grep -q "gtest" "$build_dir/build.ninja"; then
  echo "a build without tests still links GoogleTest"; exit 1
fi
echo "configured without tests"
