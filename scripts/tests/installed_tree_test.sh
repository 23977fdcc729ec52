#!/usr/bin/env bash
# The install tree: `cmake --install` of a whole build into a temporary
# prefix gives every tool's program folder with its side files, a desktop
# entry that desktop-file-validate accepts and names the installed program,
# its icons at every hicolor size and its file types; an installed tool
# started from elsewhere works from its own program folder.
#   installed_tree_test.sh <build dir> <source dir>
set -euo pipefail

build="$1"
src="$2"
work="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
# A space in the prefix catches unquoted paths in the entries.
prefix="$work/tree prefix"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
start=$SECONDS
step() { echo "[$((SECONDS - start)) s] $*"; }

command -v desktop-file-validate >/dev/null \
  || { echo "FAIL: desktop-file-validate is missing (Debian package desktop-file-utils)" >&2; exit 1; }

step "installing into $prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }

# tool, program folder, generic name, MIME type and extension ("-" for none)
tools=(
  "glazery Glazery|Material Editor|application/x-korlith3d-material|mkl"
  "emberly Emberly|Particle Editor|application/x-korlith3d-particles|pkl"
  "landlume Landlume|Terrain Lightmapper|application/x-korlith3d-lightmap-map|ldm"
  "layerloom Layerloom|Terrain Texture Generator|application/x-korlith3d-texture-preset|llp"
  "stewardex Stewardex|Installation Manager|-|-"
)
# Side files each program folder must hold.
side_files() {
  case "$1" in
    Glazery)   echo "default.mkl glazeryobjects.ini Readme.txt Data/textures/Fabrics004.jpg Data/models/Sphere.X" ;;
    Emberly)   echo "presets.ini Readme.txt media/pFlare.dds mesh" ;;
    Landlume)  echo "Textures/Landscape/heightmap.bmp Models Maps/example.ldm Screenshots Debug" ;;
    Layerloom) echo "samples/sample.llp samples/heightmap.bmp" ;;
    Stewardex) echo "regsvr32 attrib logo.png" ;;
  esac
}

# The value of a key in an entry's [Desktop Entry] group.
key() { sed -n "s/^$2=//p" "$1" | head -n 1; }

# PNG width and height from the IHDR chunk.
png_size() { od -An -t u1 -j 16 -N 8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }

# The program an Exec value runs: the value's \\ escapes undone, then the
# first word, which must be quoted, with its \" \` \$ \\ escapes undone; %%
# is %. A reserved character left bare inside the quotes fails (status 1).
exec_program() {
  local value="$1" text="" i c
  for ((i = 0; i < ${#value}; i++)); do   # the string's own escapes
    c="${value:i:1}"
    if [ "$c" = "\\" ]; then i=$((i + 1)); c="${value:i:1}"; fi
    text+="$c"
  done
  [ "${text:0:1}" = '"' ] || return 1
  local program=""
  for ((i = 1; i < ${#text}; i++)); do
    c="${text:i:1}"
    case "$c" in
      '"') printf '%s\n' "${program//%%/%}"; return 0 ;;
      '`' | '$') return 1 ;;
      "\\") i=$((i + 1)); c="${text:i:1}"
            case "$c" in '"' | '`' | '$' | "\\") ;; *) return 1 ;; esac ;;
    esac
    program+="$c"
  done
  return 1
}

mime_xml="$prefix/share/mime/packages/korlith3d-mime.xml"
[ -f "$mime_xml" ] || fail "no share/mime/packages/korlith3d-mime.xml"
found=0
for row in "${tools[@]}"; do
  exe="${row%% *}"
  IFS='|' read -r folder generic mime ext <<<"${row#* }"
  # Only the tools this build has.
  [ -x "$build/$folder/$exe" ] || continue
  found=$((found + 1))
  step "checking $folder"
  program="$prefix/$folder/$exe"
  [ -x "$program" ] || fail "$folder/$exe is not installed"
  for side in $(side_files "$folder"); do
    [ -e "$prefix/$folder/$side" ] || fail "$folder/$side is not installed"
  done

  entry="$prefix/share/applications/korlith3d-$exe.desktop"
  if [ ! -f "$entry" ]; then
    fail "no desktop entry for $folder"
    continue
  fi
  if [ -n "$(desktop-file-validate "$entry" | grep -v ': hint: ' || true)" ]; then
    fail "desktop-file-validate rejects $entry: $(desktop-file-validate "$entry")"
  fi
  [ "$(key "$entry" Name)" = "$folder" ] || fail "$entry: Name is '$(key "$entry" Name)'"
  [ "$(key "$entry" GenericName)" = "$generic" ] || fail "$entry: GenericName is '$(key "$entry" GenericName)'"
  [ "$(key "$entry" Categories)" = "Graphics;3DGraphics;Development;" ] \
    || fail "$entry: Categories is '$(key "$entry" Categories)'"
  exec_line="$(key "$entry" Exec)"
  unquoted="$(exec_program "$exec_line" || echo "(badly quoted: $exec_line)")"
  [ "$unquoted" = "$program" ] || fail "$entry: Exec runs '$unquoted', not '$program'"
  [ "$(key "$entry" TryExec)" = "$program" ] || fail "$entry: TryExec is '$(key "$entry" TryExec)'"
  if [ "$mime" = "-" ]; then
    [ -z "$(key "$entry" MimeType)" ] || fail "$entry: a MimeType for a tool that opens no files"
  else
    [ "$(key "$entry" MimeType)" = "$mime;" ] || fail "$entry: MimeType is '$(key "$entry" MimeType)'"
    [[ "$exec_line" == *" %f" ]] || fail "$entry: Exec takes no file: '$exec_line'"
    grep -q "<mime-type type=\"$mime\">" "$mime_xml" && grep -q "<glob pattern=\"\\*\\.$ext\"/>" "$mime_xml" \
      || fail "$mime (*.$ext) is not described in $mime_xml"
  fi
  icon="$(key "$entry" Icon)"
  for size in 16 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    if [ ! -f "$png" ]; then
      fail "no $size px icon $icon"
    elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
      fail "$png is $(png_size "$png"), not ${size}x${size}"
    fi
  done
done
[ "$found" -ge 4 ] || fail "only $found tools in the build"

step "entries under a prefix with characters the Exec key must escape"
odd="$work/odd \$HOME \"q\" \`b\` 50%"
cmake --install "$build" --prefix "$odd" >"$work/install-odd.log" 2>&1 \
  || { cat "$work/install-odd.log" >&2; fail "cmake --install into '$odd' failed"; }
for entry in "$odd"/share/applications/*.desktop; do
  if [ -n "$(desktop-file-validate "$entry" | grep -v ': hint: ' || true)" ]; then
    fail "desktop-file-validate rejects $entry: $(desktop-file-validate "$entry")"
  fi
  program="$(exec_program "$(key "$entry" Exec)" || echo "(badly quoted: $(key "$entry" Exec))")"
  [ -x "$program" ] && [[ "$program" == "$odd/"* ]] || fail "$entry: Exec runs '$program'"
done

step "every installed program finds its libraries"
while IFS= read -r -d '' program; do
  if file -b "$program" 2>/dev/null | grep -q ELF || head -c 4 "$program" | grep -q ELF; then
    missing="$(ldd "$program" | grep 'not found' || true)"
    [ -z "$missing" ] || fail "$program: $missing"
    ! grep -q -F "$build/" <<<"$(ldd "$program")" || fail "$program loads libraries from the build tree"
  fi
done < <(find "$prefix" -path "$prefix/share" -prune -o -type f -perm -u+x -print0)

step "starting the installed Glazery from another folder"
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no display (run under scripts/with-display)" >&2; exit 1; }
mkdir -p "$work/registry" "$work/home"
log="$prefix/Glazery/debugfile.txt"
( cd / && KORLITH3D_REGISTRY_DIR="$work/registry" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" exec "$prefix/Glazery/glazery" ) \
  >"$work/glazery.log" 2>&1 &
pid=$!
# The last preview object loaded means the window is up and drawing.
for _ in $(seq 120); do
  [ -f "$log" ] && [ "$(grep -c '^Mesh ".*" loaded from ' "$log" || true)" -ge 9 ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
if command -v import >/dev/null; then
  sleep 1
  import -window root "$build/sdk_installed_glazery.png" 2>/dev/null || true
fi
kill -0 "$pid" 2>/dev/null || fail "the installed Glazery ended: $(cat "$work/glazery.log")"
grep -q -x -F "Engine library: $prefix/lib/libkorlith3d.so.1" "$log" \
  || fail "Glazery did not load the installed engine: $(grep 'Engine library' "$log" || echo 'no log')"
grep -q -x -F "Search folder: $prefix/Glazery" "$log" || fail "Glazery's search folder is not its installed folder"
meshes="$(grep -c "^Mesh \".*\" loaded from $prefix/Glazery/Data/models/" "$log" || true)"
[ "$meshes" -ge 9 ] || fail "Glazery loaded $meshes preview objects from its installed folder, not 9"
step "done"
[ "$failures" -eq 0 ] || { echo "$failures failures" >&2; exit 1; }
