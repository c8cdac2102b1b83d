#!/bin/sh
# Runs the desktop program for a few seconds and checks that every package owning a file
# it uses is one the .deb depends on, directly or through those packages' dependencies.
# Used means: a library or plugin mapped into the process, or another file opened (fonts,
# translations, the icon's plugin data). Plugins Qt merely scans for their metadata, and
# glibc's locale files, are not counted.
#   check_depends.sh PACKAGE.deb PROGRAM WORK_DIR
set -eu
deb=$1 program=$2 work=$3
mkdir -p "$work"
used=$work/used

# A window that paints Chinese text and its icon, so fonts and plugins are loaded.
QT_QPA_PLATFORM=offscreen timeout 4 strace -f -qq -e trace=openat -e status=successful -o "$work/trace" \
    "$program" >/dev/null 2>&1 || true
grep -o 'openat([^"]*"[^"]*"' "$work/trace" | sed 's/.*"\(.*\)"/\1/' | grep -v '\.so[.0-9]*$' > "$used" || true
QT_QPA_PLATFORM=offscreen "$program" >/dev/null 2>&1 &
pid=$!
sleep 3
awk '$6 ~ /^\// { print $6 }' "/proc/$pid/maps" >> "$used"
kill "$pid"

# Names of packages in a Depends-style field: alternatives and versions dropped.
names() { tr ',|' '\n\n' | sed -e 's/(.*)//' -e 's/:any//' -e 's/^ *//' -e 's/ *$//' | grep -v '^$' || true; }

# The dependency closure of the package's Depends, among installed packages.
queue=$(dpkg-deb --field "$deb" Depends | names)
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

missing=""
for file in $(grep -E '^/(usr|etc|lib)' "$used" | grep -v -e '^/usr/lib/locale/' -e '^/usr/share/locale/' | sort -u); do
    [ -f "$file" ] || continue
    owner=$(dpkg -S "$file" 2>/dev/null || dpkg -S "$(readlink -f "$file")" 2>/dev/null \
            || dpkg -S "$(echo "$file" | sed 's|^/usr/lib/|/lib/|')" 2>/dev/null || true)
    [ -n "$owner" ] || continue
    for p in $(echo "$owner" | head -1 | cut -d: -f1 | tr ',' ' '); do
        [ "$(dpkg-query -W -f='${Essential}' "$p" 2>/dev/null)" = yes ] && continue
        case " $closure " in *" $p "*) ;; *) missing="$missing $p($file)" ;; esac
    done
done
if [ -n "$missing" ]; then
    echo "the program uses files of packages the .deb does not depend on:$missing" >&2
    exit 1
fi
for needed in qt_zh_CN.qm libqsvg.so libqoffscreen.so wqy-microhei; do
    grep -q "$needed" "$used" || { echo "the program did not use $needed" >&2; exit 1; }
done
