#!/usr/bin/env bash
# The thumbnailer run as a file manager runs it: for a slide and a library,
# find the .thumbnailer file naming the file's type in the thumbnailers folder
# of XDG_DATA_DIRS, put the input, the output and the size into its Exec line,
# run that with PREFIX/bin first on PATH, and check that a PNG whose longer
# side is the requested size comes out.
#   thumbnailer.sh [--install BUILD_DIR] PREFIX CORPUS_DIR
# --install first installs the build into PREFIX (a staging folder).
# Exits 77 (skipped) while quarvel-cli has no thumbnail command.
set -euo pipefail

if [ "${1:-}" = --install ]; then
    rm -rf "$3"
    cmake --install "$2" --prefix "$3" > /dev/null
    shift 2
fi
prefix=$1
corpus=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$prefix/bin:$PATH"
export XDG_DATA_DIRS="$prefix/share"

if ! quarvel-cli thumbnail --help > /dev/null 2>&1; then
    echo "thumbnailer: skipped: this quarvel-cli has no thumbnail command yet"
    exit 77
fi

# The Exec line of the first thumbnailer that lists mime type $1.
thumbnailer_exec() {
    local dir file
    IFS=: read -ra dirs <<< "$XDG_DATA_DIRS"
    for dir in "${dirs[@]}"; do
        for file in "$dir"/thumbnailers/*.thumbnailer; do
            [ -f "$file" ] || continue
            grep -Eq "^MimeType=(.*;)?$1;" "$file" || continue
            local tryexec
            tryexec=$(sed -n 's/^TryExec=//p' "$file")
            [ -z "$tryexec" ] || command -v "$tryexec" > /dev/null || continue
            sed -n 's/^Exec=//p' "$file"
            return 0
        done
    done
    return 1
}

# Width and height of a PNG, from its header.
png_size() {
    [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || return 1
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }'
}

failed=0
check() {
    local type=$1 input=$2 size=$3 line out word words=()
    out="$work/thumb $size.png"
    if ! line=$(thumbnailer_exec "$type"); then
        echo "FAIL: no thumbnailer for $type under $XDG_DATA_DIRS"
        failed=1
        return
    fi
    for word in $line; do
        word=${word//%i/$input}
        word=${word//%o/$out}
        words+=("${word//%s/$size}")
    done
    rm -f "$out"
    if ! "${words[@]}"; then
        echo "FAIL: $line (for $type) failed on $input"
        failed=1
        return
    fi
    local dims
    dims=$(png_size "$out") || { echo "FAIL: no PNG from $line for $input"; failed=1; return; }
    read -r width height <<< "$dims"
    if [ $((width > height ? width : height)) -ne "$size" ] || [ "$width" -lt 1 ] || [ "$height" -lt 1 ]; then
        echo "FAIL: thumbnail of $input is ${width}x$height, longer side should be $size"
        failed=1
        return
    fi
    echo "ok: $type $(basename "$input") -> ${width}x$height"
}

check image/vnd.sld "$corpus/sld/2CIR.SLD" 128
check application/x-autocad-slide-library "$corpus/slb/WELDS.SLB" 256
# Paths may hold spaces; the thumbnailer gets each as one argument.
cp "$corpus/slb/DOOR.SLB" "$work/a library.slb"
check application/x-autocad-slide-library "$work/a library.slb" 128
exit $failed
