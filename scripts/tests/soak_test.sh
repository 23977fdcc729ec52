#!/usr/bin/env bash
# Soak: runs a live-view tool from the build tree on an X server of its own
# for a while under scripted random input (clicks and drags in the 3D view,
# keys held for 100 ms), sampling its resident memory once a second. Fails
# when the program ends, prints an error, or its memory keeps growing after
# the warm-up.
#   soak_test.sh <build dir> <glazery|emberly|landlume> <seconds> [report file]
# The input is the same on every run (a fixed random seed). Menus, dialogs,
# Escape (which ends Glazery and Emberly) and Glazery's exit button are left
# alone, so nothing modal stops the loop.
set -euo pipefail

build="$1"
tool="$2"
seconds="$3"
report="${4:-}"
for program in xvfb-run xdotool; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is missing (xvfb, xdotool)"; exit 77; }
done
# Per tool: what turns its input on, and the keys it answers; where it lives
# and its 3D view come from the shared table.
# shellcheck source=tool_windows.sh
. "$(dirname "${BASH_SOURCE[0]}")/tool_windows.sh"
case "$tool" in
  glazery)  start="";       keys="Left Right Up Down Prior Next" ;;
  emberly)  start="";       keys="Left Right Up Down Prior Next w s a d" ;;
  landlume) start="ctrl+m"; keys="w s a d Prior Next" ;;
  *) echo "unknown tool $tool" >&2; exit 2 ;;
esac
tool_window "$tool"
[ -x "$build/$folder/$tool" ] || { echo "FAIL: $build/$folder/$tool is not built" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/registry" "$work/home"

cat >"$work/soak.sh" <<'SH'
#!/usr/bin/env bash
set -u
read -r vw vh vx vy <<<"$(echo "$VIEW" | awk -F'[x+]' '{ print $1, $2, $3, $4 }')"
( cd "$PROGRAM_DIR" && exec "./$TOOL" ) >"$WORK/out.log" 2>&1 &
pid=$!
# Ready once the window is mapped and has drawn for a moment.
for _ in $(seq 120); do
  xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1 && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
sleep 2
xdotool mousemove $((vx + vw / 2)) $((vy + vh / 2)) click 1
[ -n "$START" ] && xdotool key --delay 100 "$START"
RANDOM=20261210
read -r -a keylist <<<"$KEYS"
point() { echo $((vx + 10 + RANDOM % (vw - 20))) $((vy + 10 + RANDOM % (vh - 20))); }
end=$((SECONDS + DURATION))
next_sample=$SECONDS
: >"$WORK/rss.txt"
while [ $SECONDS -lt $end ] && kill -0 "$pid" 2>/dev/null; do
  case $((RANDOM % 3)) in
    0) read -r x y <<<"$(point)"; xdotool mousemove "$x" "$y" click 1 ;;
    1) read -r x y <<<"$(point)"; read -r x2 y2 <<<"$(point)"
       xdotool mousemove "$x" "$y" mousedown 1 mousemove $(((x + x2) / 2)) $(((y + y2) / 2)) mousemove "$x2" "$y2" mouseup 1 ;;
    2) key="${keylist[RANDOM % ${#keylist[@]}]}"
       xdotool keydown "$key"; sleep 0.1; xdotool keyup "$key" ;;
  esac
  sleep 0.05
  if [ $SECONDS -ge $next_sample ]; then
    awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" >>"$WORK/rss.txt" 2>/dev/null || true
    next_sample=$((SECONDS + 1))
  fi
done
status=0
kill -0 "$pid" 2>/dev/null || { echo "FAIL: $TOOL ended during the soak" >&2; status=1; }
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit $status
SH

PROGRAM_DIR="$build/$folder" TOOL="$tool" WORK="$work" VIEW="$view" START="$start" KEYS="$keys" DURATION="$seconds" \
  KORLITH3D_REGISTRY_DIR="$work/registry" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:quarantine_size_mb=16" LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX" bash "$work/soak.sh" \
  || { tail -20 "$work/out.log" >&2; exit 1; }

if grep -E "KLError|terminate called|ERROR: AddressSanitizer|runtime error:" "$work/out.log" >&2; then
  echo "FAIL: $tool reported an error during the soak" >&2
  exit 1
fi
# Memory: the mean of the last third of the samples against the mean of the
# second third (the first third is the warm-up). Under AddressSanitizer the
# freed memory it holds back is kept small (16 MiB): its default 256 MiB
# fills for longer than the warm-up and looks like growth.
samples=$(wc -l <"$work/rss.txt")
[ "$samples" -ge 6 ] || { echo "FAIL: only $samples memory samples" >&2; exit 1; }
summary="$(awk -v n="$samples" '
  { rss[NR] = $1 }
  END {
    a = int(n / 3); b = int(2 * n / 3)
    for (i = a + 1; i <= b; ++i) mid += rss[i]
    for (i = b + 1; i <= n; ++i) late += rss[i]
    mid /= (b - a); late /= (n - b)
    printf "%d %d %d %d %d\n", rss[1] / 1024, rss[a] / 1024, mid / 1024, late / 1024, rss[n] / 1024
  }' "$work/rss.txt")"
read -r first warm mid late last <<<"$summary"
line="$tool soak ${seconds} s, $samples samples: resident MiB at start $first, after warm-up $warm, mean of the middle third $mid, of the last third $late, at the end $last"
echo "$line"
[ -n "$report" ] && echo "$line" >>"$report"
# Flat: the last third may not lie more than 10 % (at least 16 MiB) above the middle one.
limit=$((mid / 10 > 16 ? mid / 10 : 16))
[ $((late - mid)) -le "$limit" ] || { echo "FAIL: $tool's memory kept growing ($mid -> $late MiB)" >&2; exit 1; }
