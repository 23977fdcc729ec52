#!/usr/bin/env bash
# Glazery under QT_SCALE_FACTOR=2: its 3D view fills the picture box and is
# drawn at the screen's full resolution. The installed Glazery is started on
# a private X server at scale 1 and at scale 2 (on a screen twice as large);
# the view of the scale-2 screenshot, halved, must match the scale-1 view,
# and must not be a scale-1 picture with its pixels doubled.
#   hidpi_test.sh <build dir>
set -euo pipefail

build="$1"
for tool in xvfb-run import convert compare; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (xvfb, imagemagick)"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }
mkdir -p "$work/registry" "$work/home"

# shot <scale> <screen> <file> <view>: starts Glazery, waits until its
# preview objects are loaded, grabs the screen once the view is drawn.
cat >"$work/shot.sh" <<'SH'
#!/usr/bin/env bash
log="$PREFIX/Glazery/debugfile.txt"
rm -f "$log"
( cd / && exec "$PREFIX/Glazery/glazery" ) >"$WORK/glazery-$SCALE.log" 2>&1 &
pid=$!
for _ in $(seq 120); do
  [ -f "$log" ] && [ "$(grep -c '^Mesh ".*" loaded from ' "$log" || true)" -ge 9 ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
# The first frames may take a while on a loaded machine: grab until the
# view shows a picture rather than one flat colour.
for _ in $(seq 40); do
  import -window root "$OUT"
  spread="$(convert "$OUT" -crop "$VIEW" +repage -colorspace gray -format '%[fx:standard_deviation]' info:)"
  awk -v s="$spread" 'BEGIN { exit !(s > 0.05) }' && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
status=0
kill -0 "$pid" 2>/dev/null || status=1
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit $status
SH
shot() {
  PREFIX="$prefix" WORK="$work" SCALE="$1" OUT="$3" VIEW="$4" QT_SCALE_FACTOR="$1" KORLITH3D_REGISTRY_DIR="$work/registry" \
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    xvfb-run -a -s "-screen 0 $2x24" bash "$work/shot.sh" \
    || { cat "$work/glazery-$1.log" >&2; echo "FAIL: Glazery at scale $1 did not run" >&2; exit 1; }
}
# Inside Glazery's picture box at its default window size, at each scale.
view1="500x480+280+36"
view2="1000x960+560+72"
shot 1 1280x1024 "$work/scale1.png" "$view1"
shot 2 2560x2048 "$work/scale2.png" "$view2"
cp "$work/scale2.png" "$build/sdk_hidpi_glazery.png"
convert "$work/scale1.png" -crop "$view1" +repage "$work/view1.png"
convert "$work/scale2.png" -crop "$view2" +repage "$work/view2.png"
convert "$work/view2.png" -resize 50% "$work/halved.png"
rmse="$(compare -metric RMSE "$work/view1.png" "$work/halved.png" null: 2>&1 | sed -E 's/.*\(([0-9.e-]+)\).*/\1/' || true)"
echo "scale 2 view halved against scale 1: RMSE $rmse"
awk -v e="$rmse" 'BEGIN { exit !(e != "" && e < 0.06) }' \
  || { echo "FAIL: at scale 2 the view does not show what it shows at scale 1 (RMSE $rmse)" >&2; exit 1; }
convert "$work/view2.png" -sample 50% -sample 200% "$work/doubled.png"
differing="$(compare -metric AE "$work/view2.png" "$work/doubled.png" null: 2>&1 || true)"
echo "pixels differing from their 2 x 2 block's first: $differing of 960000"
[ "${differing%%.*}" -gt 96000 ] \
  || { echo "FAIL: at scale 2 the view is a scale-1 picture with doubled pixels" >&2; exit 1; }
