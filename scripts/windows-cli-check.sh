#!/usr/bin/env bash
# quarvel-cli.exe under Wine against the Linux build: both must give the
# same bytes for
#   - names of a library in the Chinese (936) and the Cyrillic (1251) code page;
#   - render of a slide to PNG, SVG, WMF and DXF, and a library's thumbnail;
#   - create, add, delete and rename of a library, step by step;
#   and two copies of the .exe adding to one library at the same time must
#   both land (the edit lock between processes);
# every path given to the .exe as Windows writes it (drive letter Z:,
# backslashes; Wine maps Z:\ to /). Run by scripts/windows.sh, with Wine's
# settings (WINEPREFIX) in the environment.
#   $1  the Linux quarvel-cli
#   $2  quarvel-cli.exe
#   $3  a scratch folder
set -uo pipefail
cd "$(dirname "$0")/.."

linux_cli=$(realpath "$1")
exe=$(realpath "$2")
work=$(realpath -m "$3")
corpus=$(realpath ../shared/corpus)
rm -rf "$work"
mkdir -p "$work/win" "$work/linux"

winpath() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
# Runs the .exe with the given arguments; arguments that are paths are
# turned into Windows paths by the caller.
wincli() { wine "$exe" "$@" 2> "$work/stderr"; }

failures=0
check() {   # check WHAT FILE-OR-TEXT-A FILE-OR-TEXT-B
    if cmp -s "$2" "$3"; then
        echo "ok: $1"
    else
        echo "FAILED: $1 ($(head -c 300 "$work/stderr"))"
        failures=$((failures + 1))
    fi
}

# Names in two code pages.
wincli --codepage 936 names "$(winpath "$corpus/slb/xyp1964.slb")" > "$work/win/names936"
"$linux_cli" --codepage 936 names "$corpus/slb/xyp1964.slb" > "$work/linux/names936"
check "names, code page 936" "$work/win/names936" "$work/linux/names936"

cp "$corpus/sld/2CIR.SLD" "$work/win/дверь.sld"
cp "$corpus/sld/WEDCIR.SLD" "$work/win/b.sld"
cp "$corpus/sld/NORTH2.sld" "$work/win/c.sld"
cp "$work/win/"*.sld "$work/linux/"
"$linux_cli" create "$work/cyrillic.slb" "$work/linux/дверь.sld"
wincli names "$(winpath "$work/cyrillic.slb")" > "$work/win/names1251"
"$linux_cli" names "$work/cyrillic.slb" > "$work/linux/names1251"
check "names, code page 1251" "$work/win/names1251" "$work/linux/names1251"

# Pictures: every format, and a library's thumbnail.
for format in png svg wmf dxf; do
    wincli render "$(winpath "$corpus/slb/DOOR.SLB")(D90)" -o "$(winpath "$work/win/d90.$format")" --size 800x600
    "$linux_cli" render "$corpus/slb/DOOR.SLB(D90)" -o "$work/linux/d90.$format" --size 800x600
    check "render to ${format^^}" "$work/win/d90.$format" "$work/linux/d90.$format"
done
wincli thumbnail "$(winpath "$corpus/slb/DOOR.SLB")" "$(winpath "$work/win/thumb.png")" 256
"$linux_cli" thumbnail "$corpus/slb/DOOR.SLB" "$work/linux/thumb.png" 256
check "thumbnail" "$work/win/thumb.png" "$work/linux/thumb.png"

# Library edits, compared after every step.
step() {   # step NAME ARGS... ; ARGS use @/ for the side's own folder
    local name=$1
    shift
    local win_args=() linux_args=() arg
    for arg in "$@"; do
        case $arg in
            @/*) win_args+=("$(winpath "$work/win/${arg#@/}")"); linux_args+=("$work/linux/${arg#@/}") ;;
            *) win_args+=("$arg"); linux_args+=("$arg") ;;
        esac
    done
    wincli "${win_args[@]}"
    "$linux_cli" "${linux_args[@]}"
    check "$name" "$work/win/lib.slb" "$work/linux/lib.slb"
}
step "create" create @/lib.slb @/дверь.sld @/b.sld
step "add" add @/lib.slb @/c.sld
step "delete" delete @/lib.slb B
step "rename" rename @/lib.slb c C2
step "add (replace)" add @/lib.slb @/дверь.sld

# Two processes edit one library at once, five times over: the edit lock
# makes one wait for the other, so every slide lands and none is lost.
wincli create "$(winpath "$work/both.slb")" "$(winpath "$work/win/b.sld")"
for i in 1 2 3 4 5; do
    cp "$work/win/c.sld" "$work/win/p$i.sld"
    cp "$work/win/c.sld" "$work/win/q$i.sld"
    wine "$exe" add "$(winpath "$work/both.slb")" "$(winpath "$work/win/p$i.sld")" 2>> "$work/stderr" &
    wine "$exe" add "$(winpath "$work/both.slb")" "$(winpath "$work/win/q$i.sld")" 2>> "$work/stderr" &
    wait
done
printf '%s\n' B P1 Q1 P2 Q2 P3 Q3 P4 Q4 P5 Q5 | sort > "$work/linux/both-names"
"$linux_cli" names "$work/both.slb" | sort > "$work/win/both-names"
check "two processes adding at once" "$work/win/both-names" "$work/linux/both-names"

if [ "$failures" -gt 0 ]; then
    echo "quarvel-cli.exe: $failures check(s) failed"
    exit 1
fi
echo "quarvel-cli.exe: all checks passed"
