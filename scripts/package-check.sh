#!/usr/bin/env bash
# Builds the Debian package and checks it on this machine: lintian finds no
# errors, the desktop entry and the AppStream file validate, the package
# installs with apt, the installed programs, file types, default application,
# manual page and thumbnailer work, the main window starts from the desktop
# entry's Exec line (a screenshot goes to <build>/tests/package/), and purging
# the package leaves none of its files behind.
# Installing needs root: skipped otherwise, unless CI is set (then sudo).
#   QUARVEL_BUILD_DIR   build folder (default: build)
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh

if [ "$(id -u)" -ne 0 ] && [ -z "${CI:-}" ]; then
    echo "package check: skipped (installing the package needs root; run as root, or set CI to use sudo)"
    exit 0
fi
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
quarvel_install_missing "${QUARVEL_PACKAGE_CHECK_PACKAGES[@]}" || exit 1

build=${QUARVEL_BUILD_DIR:-build}
corpus=../shared/corpus
out=$build/tests/package
failures=()
fail() { echo "FAIL: $*"; failures+=("$*"); }
ok() { echo "ok: $*"; }

quarvel_configure "$build" && ninja -C "$build" quarvel quarvel-cli sample quarvel_dist quarvel-disttool || exit 1
rm -rf "$out" && mkdir -p "$out"
rm -f "$build"/quarvel_*.deb
(cd "$build" && cpack -G DEB > "$PWD/tests/package/cpack.log" 2>&1) || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$build"/quarvel_*-1_*.deb)
deb=$(realpath "$deb")
ok "built $(basename "$deb")"

# Lintian: errors fail, warnings are listed.
lintian --tag-display-limit 0 "$deb" > "$out/lintian.txt" 2>&1
grep -E '^[EW]: ' "$out/lintian.txt" | sed 's/^/  lintian /'
if grep -q '^E: ' "$out/lintian.txt"; then fail "lintian reports errors"; else ok "lintian: no errors"; fi

tree=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$tree" "$home"' EXIT
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree/usr/share/applications/quarvel.desktop" && ok "desktop-file-validate" \
    || fail "desktop-file-validate"
appstreamcli validate --no-net "$tree/usr/share/metainfo/io.github.quarvel.Quarvel.metainfo.xml" > "$out/appstream.txt" 2>&1 \
    && ok "appstreamcli validate" || { cat "$out/appstream.txt"; fail "appstreamcli validate"; }

# A copy left by an earlier, interrupted check goes first.
dpkg -s quarvel > /dev/null 2>&1 && "${sudo[@]}" apt-get remove --purge -y -qq quarvel > /dev/null
if ! DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$deb" > "$out/install.log" 2>&1; then
    cat "$out/install.log"
    fail "apt-get install"
    echo "package check FAILED: ${failures[*]}"
    exit 1
fi
ok "installed with apt-get"
dpkg -L quarvel > "$out/files.txt"

# Queries run in an empty home, so that only what the package installed counts.
mkdir -p "$home/config" "$home/data" "$home/runtime"
chmod 700 "$home/runtime"
user_env=(env -u QT_QPA_PLATFORM -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u XDG_DATA_DIRS -u XDG_CONFIG_DIRS HOME="$home"
          XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"
          PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
expect() {
    local what=$1 want=$2
    shift 2
    local got
    got=$("${user_env[@]}" "$@" 2>&1)
    [ "$got" = "$want" ] && ok "$what: $got" || fail "$what: got '$got', want '$want'"
}

[ "$("${user_env[@]}" sh -c 'command -v quarvel-cli')" = /usr/bin/quarvel-cli ] \
    && "${user_env[@]}" quarvel-cli --help > /dev/null && ok "quarvel-cli --help from PATH" \
    || fail "quarvel-cli --help from PATH"
cp "$corpus/slb/DOOR.SLB" "$home/x.bin"
cp "$corpus/sld/2CIR.SLD" "$home/y.bin"
cp "$corpus/slb/DOOR.SLB" "$home/PLAN.SLB"
expect "library by magic" application/x-autocad-slide-library xdg-mime query filetype "$home/x.bin"
expect "slide by magic" image/vnd.sld xdg-mime query filetype "$home/y.bin"
expect "library by upper-case name" application/x-autocad-slide-library xdg-mime query filetype "$home/PLAN.SLB"
# The names slides had before image/vnd.sld was registered stay aliases of it,
# and a desktop that asks by the old name still finds the program.
for alias in image/x-sld application/x-autocad-slide; do
    expect "alias $alias" image/vnd.sld perl -MFile::MimeInfo=mimetype_canon -e 'print mimetype_canon($ARGV[0])' "$alias"
done
expect "default application for old name" quarvel.desktop xdg-mime query default application/x-autocad-slide
for type in image/vnd.sld application/x-autocad-slide-library; do
    expect "default application for $type" quarvel.desktop xdg-mime query default "$type"
done
expect "manual page" /usr/share/man/man1/quarvel-cli.1.gz man -w quarvel-cli
bash tests/dist/thumbnailer.sh /usr "$corpus" > "$out/thumbnailer.txt" 2>&1
case $? in
    0) ok "thumbnailer: $(grep -c '^ok' "$out/thumbnailer.txt") thumbnails" ;;
    77) cat "$out/thumbnailer.txt" ;;
    *) cat "$out/thumbnailer.txt"; fail "thumbnailer" ;;
esac

# The main window as installed, started from the desktop entry's Exec line with
# the sample library, under Xvfb, as the user running the check: its settings
# must go to its own configuration folder, never beside the program.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/quarvel.desktop)
sample=/usr/share/doc/quarvel/examples/Sample.slb
command=${exec_line//%f/$sample}
tool=$(realpath "$build/quarvel-disttool")
cp "$tool" "$home/grab" && chmod 755 "$home/grab"
"${user_env[@]}" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    '"$command"' & program=$!
    for attempt in $(seq 1 30); do
        sleep 0.5
        kill -0 $program 2> /dev/null || exit 4
        "$HOME/grab" grab "$HOME/shot.png" && [ "$attempt" -gt 4 ] && break
    done
    sleep 1
    "$HOME/grab" grab "$HOME/shot.png"
    status=$?
    kill $program
    wait $program
    exit $status' > "$out/screenshot.log" 2>&1
status=$?
if [ $status -eq 0 ] && [ -s "$home/shot.png" ]; then
    cp "$home/shot.png" "$out/main-window.png"
    ok "screenshot of '$command': $out/main-window.png"
else
    cat "$out/screenshot.log"
    fail "screenshot of '$command' (status $status)"
fi
[ -e /usr/bin/Quarvel.ini ] && fail "settings were written into /usr/bin"
[ -f "$home/config/Quarvel/Quarvel.ini" ] || fail "settings did not go to the user's configuration folder"

# Purge, then nothing of the package may be left.
"${sudo[@]}" apt-get remove --purge -y -qq quarvel > "$out/remove.log" 2>&1 || fail "apt-get remove --purge"
left=0
while read -r path; do
    [ -d "$path" ] && continue
    [ -e "$path" ] || [ -L "$path" ] || continue
    echo "  left behind: $path"
    left=$((left + 1))
done < "$out/files.txt"
dpkg -s quarvel > /dev/null 2>&1 && fail "quarvel still known to dpkg"
for dir in /usr/share/doc/quarvel /usr/share/doc/quarvel/examples; do
    [ -e "$dir" ] && { echo "  left behind: $dir"; left=$((left + 1)); }
done
[ $left -eq 0 ] && ok "purged: none of $(grep -c . "$out/files.txt") paths left" || fail "$left paths left after purge"
after=$("${user_env[@]}" xdg-mime query filetype "$home/x.bin" 2>&1)
[ "$after" != application/x-autocad-slide-library ] && ok "file type after purge: $after" \
    || fail "the library type is still known after purge"

if [ ${#failures[@]} -gt 0 ]; then
    echo "package check FAILED: ${failures[*]}"
    exit 1
fi
echo "package check passed"
