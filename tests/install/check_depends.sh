#!/bin/sh
# Runs a program unpacked from a .deb and checks that every package owning a file it uses
# is one the .deb depends on, directly or through those packages' dependencies. Used
# means: a library or plugin mapped into the process, or another file opened (fonts,
# translations, the icon's plugin data). Plugins Qt merely scans for their metadata, and
# glibc's locale files, are not counted. Nothing is installed: the packages are looked up
# in the dpkg database, which is only read.
#   check_depends.sh [--window] [--exact] PACKAGE.deb WORK_DIR 'NEEDED...' PROGRAM [ARGUMENT...]
# --window: the desktop program, started under the offscreen platform and read while it
#           runs; otherwise the program runs to its end, reading this script's input.
# --exact:  also every package the .deb depends on owns a file the program used.
# NEEDED:   parts of file names the program must have used.
set -eu
window=false exact=false
while :; do
    case $1 in
    --window) window=true ;;
    --exact) exact=true ;;
    *) break ;;
    esac
    shift
done
deb=$1 work=$2 needed=$3
shift 3
mkdir -p "$work"
used=$work/used

trace() { strace -f -qq -e trace=openat -e status=successful -o "$work/trace" "$@"; }
if $window; then
    # A window that paints Chinese text and its icon, so fonts and plugins are loaded. Qt
    # opens every plugin of a folder to read its metadata, so libraries count only as the
    # running process maps them.
    QT_QPA_PLATFORM=offscreen timeout 4 trace "$@" >/dev/null 2>&1 || true
    grep -o 'openat([^"]*"[^"]*"' "$work/trace" | sed 's/.*"\(.*\)"/\1/' | grep -v '\.so[.0-9]*$' > "$used" || true
    QT_QPA_PLATFORM=offscreen "$@" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    awk '$6 ~ /^\// { print $6 }' "/proc/$pid/maps" >> "$used"
    kill "$pid"
    wait "$pid" || true
else
    # Nothing is loaded but what the program links, so every library the loader opens counts.
    if ! trace "$@" >/dev/null 2>"$work/errors"; then
        echo "$* failed: $(cat "$work/errors")" >&2
        exit 1
    fi
    grep -o 'openat([^"]*"[^"]*"' "$work/trace" | sed 's/.*"\(.*\)"/\1/' > "$used" || true
fi

# Names of packages in a Depends-style field: alternatives and versions dropped.
names() { tr ',|' '\n\n' | sed -e 's/(.*)//' -e 's/:any//' -e 's/^ *//' -e 's/ *$//' | grep -v '^$' || true; }
depends=$(dpkg-deb --field "$deb" Depends)

# The dependency closure of the package's Depends, among installed packages.
queue=$(echo "$depends" | names)
closure=" $(dpkg-deb --field "$deb" Package)" # its own files count, once installed
while [ -n "$queue" ]; do
    next=""
    for p in $queue; do
        case " $closure " in *" $p "*) continue ;; esac
        closure="$closure $p"
        next="$next $(dpkg-query -W -f='${Depends}, ${Pre-Depends}' "$p" 2>/dev/null | names)"
    done
    queue=$next
done

missing="" owners=" "
for file in $(grep -E '^/(usr|etc|lib)' "$used" | grep -v -e '^/usr/lib/locale/' -e '^/usr/share/locale/' | sort -u); do
    [ -f "$file" ] || continue
    owner=$(dpkg -S "$file" 2>/dev/null || dpkg -S "$(readlink -f "$file")" 2>/dev/null \
            || dpkg -S "$(echo "$file" | sed 's|^/usr/lib/|/lib/|')" 2>/dev/null || true)
    [ -n "$owner" ] || continue
    for p in $(echo "$owner" | head -1 | cut -d: -f1 | tr ',' ' '); do
        owners="$owners$p "
        [ "$(dpkg-query -W -f='${Essential}' "$p" 2>/dev/null)" = yes ] && continue
        case " $closure " in *" $p "*) ;; *) missing="$missing $p($file)" ;; esac
    done
done
if [ -n "$missing" ]; then
    echo "the program uses files of packages the .deb does not depend on:$missing" >&2
    exit 1
fi
for part in $needed; do
    grep -q -- "$part" "$used" || { echo "the program did not use $part" >&2; exit 1; }
done

if $exact; then
    # One alternative of each dependency is enough.
    unused=""
    for group in $(echo "$depends" | tr -d ' ' | tr ',' ' '); do
        found=false
        for p in $(echo "$group" | tr '|' '\n' | names); do
            case $owners in *" $p "*) found=true ;; esac
        done
        $found || unused="$unused $group"
    done
    if [ -n "$unused" ]; then
        echo "the .deb depends on packages the program uses no file of:$unused" >&2
        exit 1
    fi
fi
