#!/usr/bin/env bash
# A tool under QT_SCALE_FACTOR=2: its window is laid out as at scale 1 at
# twice the size (the panels stay legible), and its 3D view fills the picture
# box and is drawn at the screen's full resolution. The installed tool is
# started on a private X server at scale 1 and at scale 2 (on a screen twice
# as large); the window and the view of the scale-2 screenshot, halved, must
# match the scale-1 ones, and a 3D view must not be a scale-1 picture with its
# pixels doubled.
#   hidpi_test.sh <build dir> [glazery|emberly|landlume|layerloom|stewardex]
set -euo pipefail

build="$1"
tool="${2:-glazery}"
# shellcheck source=tool_windows.sh
. "$(dirname "${BASH_SOURCE[0]}")/tool_windows.sh"
tool_window "$tool" || { echo "unknown tool $tool" >&2; exit 2; }
doubled() { echo "$1" | awk -F'[x+]' '{ printf "%dx%d+%d+%d", $1 * 2, $2 * 2, $3 * 2, $4 * 2 }'; }
for program in xvfb-run import convert compare; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is missing (xvfb, imagemagick)"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }
mkdir -p "$work/registry" "$work/home"

# shot <scale> <screen> <file>: starts the tool, waits until it is ready (for
# Glazery: its preview objects loaded), grabs the screen once the window (and
# its 3D view) shows a picture rather than one flat colour.
cat >"$work/shot.sh" <<'SH'
#!/usr/bin/env bash
log="$PREFIX/Glazery/debugfile.txt"
[ "$TOOL" = glazery ] && rm -f "$log"
( cd / && exec "$PREFIX/$FOLDER/$TOOL" ) >"$WORK/$TOOL-$SCALE.log" 2>&1 &
pid=$!
if [ "$TOOL" = glazery ]; then
  for _ in $(seq 120); do
    [ -f "$log" ] && [ "$(grep -c '^Mesh ".*" loaded from ' "$log" || true)" -ge 9 ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
fi
# The first frames may take a while on a loaded machine.
spread() { convert "$OUT" -crop "$1" +repage -colorspace gray -format '%[fx:standard_deviation]' info:; }
for _ in $(seq 60); do
  import -window root "$OUT"
  ready=1
  for area in $AREAS; do
    awk -v s="$(spread "$area")" 'BEGIN { exit !(s > 0.05) }' || ready=0
  done
  [ "$ready" = 1 ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
# One more second for the last layout pass (and, on a loaded machine, for
# the view's next frames): a grab taken as the picture first shows may catch
# a window still being laid out.
sleep 1
import -window root "$OUT"
status=0
kill -0 "$pid" 2>/dev/null || status=1
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit $status
SH
shot() {
  PREFIX="$prefix" WORK="$work" TOOL="$tool" FOLDER="$folder" SCALE="$1" OUT="$3" AREAS="$4" \
    QT_SCALE_FACTOR="$1" KORLITH3D_REGISTRY_DIR="$work/registry" \
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    xvfb-run -a -s "-screen 0 $2x24" bash "$work/shot.sh" \
    || { cat "$work/$tool-$1.log" >&2; echo "FAIL: $tool at scale $1 did not run" >&2; exit 1; }
}
window2="$(doubled "$window")"
view2=""
[ -n "$view" ] && view2="$(doubled "$view")"
shot 1 1280x1024 "$work/scale1.png" "$window $view"
shot 2 2560x2048 "$work/scale2.png" "$window2 $view2"
cp "$work/scale2.png" "$build/sdk_hidpi_$tool.png"

# same <what> <area at scale 1> <area at scale 2>: the scale-2 area halved
# shows what the scale-1 area shows.
same() {
  convert "$work/scale1.png" -crop "$2" +repage "$work/one.png"
  convert "$work/scale2.png" -crop "$3" +repage -resize 50% "$work/halved.png"
  local rmse
  rmse="$(compare -metric RMSE "$work/one.png" "$work/halved.png" null: 2>&1 | sed -E 's/.*\(([0-9.e-]+)\).*/\1/' || true)"
  echo "scale 2 $1 halved against scale 1: RMSE $rmse"
  awk -v e="$rmse" 'BEGIN { exit !(e != "" && e < 0.06) }' \
    || { echo "FAIL: at scale 2 the $1 does not show what it shows at scale 1 (RMSE $rmse)" >&2; exit 1; }
}
same window "$window" "$window2"
[ -n "$view" ] || exit 0
same view "$view" "$view2"
convert "$work/scale2.png" -crop "$view2" +repage "$work/view2.png"
convert "$work/view2.png" -sample 50% -sample 200% "$work/doubled.png"
pixels="$(echo "$view2" | awk -F'[x+]' '{ print $1 * $2 }')"
differing="$(compare -metric AE "$work/view2.png" "$work/doubled.png" null: 2>&1 || true)"
echo "pixels differing from their 2 x 2 block's first: $differing of $pixels"
[ "${differing%%.*}" -gt $((pixels / 10)) ] \
  || { echo "FAIL: at scale 2 the view is a scale-1 picture with doubled pixels" >&2; exit 1; }
