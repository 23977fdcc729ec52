#!/usr/bin/env bash
# The engine as an SDK: installs the "sdk" component of a build into a
# temporary prefix, checks the library's SONAME, the headers, the CMake
# package and the pkg-config file, builds engine/examples/viewer on its own
# against that prefix and runs it to a screenshot whose pixels are checked.
#   sdk_package_test.sh <build dir> <source dir> <sanitize ON|OFF>
set -Eeuo pipefail
# A command failing under -e names itself, so a failure is never silent.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND exited with $?" >&2' ERR

build="$1"
src="$2"
sanitize="${3:-OFF}"
here="$(cd "$(dirname "$0")" && pwd)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A space in the prefix catches unquoted paths in the package files.
prefix="$work/sdk prefix"

fail() { echo "FAIL: $*" >&2; exit 1; }
start=$SECONDS
step() { echo "[$((SECONDS - start)) s] $*"; }

step "installing the sdk component into $prefix"
cmake --install "$build" --prefix "$prefix" --component sdk >"$work/install.log" \
  || { cat "$work/install.log" >&2; fail "cmake --install failed"; }

lib="$prefix/lib"
[ -f "$lib/libkorlith3d.so.1" ] || fail "no lib/libkorlith3d.so.1"
[ -L "$lib/libkorlith3d.so" ] || fail "no lib/libkorlith3d.so link for the linker"
soname="$(objdump -p "$lib/libkorlith3d.so" | awk '$1 == "SONAME" { print $2 }')"
[ "$soname" = "libkorlith3d.so.1" ] || fail "SONAME is '$soname', not libkorlith3d.so.1"
for header in "$src"/engine/include/korlith3d/*.h; do
  cmp -s "$header" "$prefix/include/korlith3d/$(basename "$header")" \
    || fail "header $(basename "$header") missing or different in include/korlith3d"
done
[ -f "$lib/cmake/Korlith3D/Korlith3DConfig.cmake" ] || fail "no CMake package"
# The SDK component holds only the SDK: no tool, no static internals.
extra="$(cd "$prefix" && find . -type f | grep -v -E '^\./(include/korlith3d/[^/]+\.h|lib/libkorlith3d\.so\.[0-9.]+|lib/cmake/Korlith3D/[^/]+\.cmake|lib/pkgconfig/korlith3d\.pc)$' || true)"
[ -z "$extra" ] || fail "unexpected files in the sdk component: $extra"
# Nothing may point back into the source or build tree.
if grep -r -l -F -e "$src" -e "$build" "$lib/cmake" "$lib/pkgconfig" >/dev/null; then
  fail "installed package files name the source or build tree: $(grep -r -l -F -e "$src" -e "$build" "$lib/cmake" "$lib/pkgconfig")"
fi

sanitize_flags=()
probe_flags=()
if [ "$sanitize" = "ON" ]; then
  # The library was built with the sanitizers; a program loading it must
  # carry the same runtime first.
  sanitize_flags=(-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined
                  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
  probe_flags=(-fsanitize=address,undefined)
fi

step "building a program with pkg-config"
export PKG_CONFIG_PATH="$lib/pkgconfig"
[ "$(pkg-config --modversion korlith3d)" = "1.0" ] || fail "pkg-config version is not 1.0"
# pkg-config escapes the space in the prefix for a shell to read.
eval "cflags=($(pkg-config --cflags korlith3d))"
eval "libs=($(pkg-config --libs korlith3d))"
cat >"$work/probe.cpp" <<'CPP'
#include <korlith3d/KLEngine.h>
#include <cstdio>
int main() { std::puts(KLEngine::GetDLLPath().toLocal8Bit().constData()); }
CPP
c++ -std=c++20 "${probe_flags[@]}" "${cflags[@]}" "$work/probe.cpp" -o "$work/probe" "${libs[@]}" \
    -Wl,-rpath,"$lib" || fail "a program built with pkg-config's flags does not compile and link"
loaded="$(ASAN_OPTIONS=detect_leaks=0 "$work/probe")"
[ "$(realpath "$loaded")" = "$(realpath "$lib/libkorlith3d.so.1")" ] \
  || fail "the pkg-config program loaded '$loaded', not the installed library"

step "configuring engine/examples/viewer against the prefix"
gen=()
command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
cmake -S "$src/engine/examples/viewer" -B "$work/viewer" "${gen[@]}" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" "${sanitize_flags[@]}" \
  >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; fail "configuring the viewer failed"; }
step "building the viewer"
cmake --build "$work/viewer" >"$work/build.log" 2>&1 \
  || { cat "$work/build.log" >&2; fail "building the viewer failed"; }
viewer="$work/viewer/klviewer"
# Outputs are read whole before they are searched: `grep -q` stops reading
# at the first match, and under pipefail the writer's broken pipe would fail
# the check.
needed="$(objdump -p "$viewer")"
grep -q -E 'NEEDED +libkorlith3d\.so\.1$' <<<"$needed" \
  || fail "the viewer does not need libkorlith3d.so.1"
loads="$(ldd "$viewer")"
grep -q -F "$lib/libkorlith3d.so.1" <<<"$loads" \
  || fail "the viewer does not load the installed library: $(grep korlith3d <<<"$loads")"

step "running the viewer to a screenshot"
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || fail "no display (run under scripts/with-display)"
shot="$work/shot.bmp"
# A viewer that hangs must not hold the test until its time limit. Leaks are
# the engine tests' business; here the GL driver's, reported after it is
# unloaded, would only hide the result.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout 60 "$viewer" "$here/data/cube.x" --orbit 30 25 --screenshot "$shot" >"$work/run.log" 2>&1 \
  || { cat "$work/run.log" >&2; fail "the viewer failed"; }
# The viewer's clear colour (0.15, 0.17, 0.22).
cmake -DBMP="$shot" -DBACKGROUND=38,43,56 -P "$here/check_bmp_pixels.cmake" || fail "the screenshot is wrong"
step "done"
