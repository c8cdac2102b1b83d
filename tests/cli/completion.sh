#!/bin/bash
# Completes words as bash does at a TAB and checks the offers.
#   completion.sh COMPLETIONS_DIR
set -u
dir=$1 failed=0
# File names to offer, one with a space and one that looks like an option.
files=$(mktemp -d)
trap 'rm -rf "$files"' EXIT
touch "$files/a b.txt" "$files/-n.txt"
cd "$files" || exit 1
offers() { # the command's words as bash splits them, the last being the one completed
    local command=$1
    source "$dir/$command"
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    "$(complete -p "$command" | sed 's/.*-F \([^ ]*\).*/\1/')"
    local IFS='|'
    echo "${COMPREPLY[*]}"
}
expect() { # expected offers joined by "|", then the words
    local want=$1
    shift
    local got
    got=$(offers "$@")
    [ "$got" = "$want" ] || { echo "$* -> \"$got\", not \"$want\"" >&2; failed=1; }
}
expect "--format" rainquill-cli --fo
expect "--suffix|--scheme|--step" rainquill-cli --s
# Every form of a value: the next word, after "=" (split off by bash, or kept whole when
# "=" is not a word break), joined to the short option, after a unique start of the name.
expect "html" rainquill-cli -f h
expect "html" rainquill-cli --format h
expect "html" rainquill-cli --format = h
expect "ubb|html|qq|custom" rainquill-cli --format =
expect "--format=html" rainquill-cli --format=h
expect "-fhtml" rainquill-cli -fh
expect "-vfhtml" rainquill-cli -vfh
expect "html" rainquill-cli --form h
expect "--form=html" rainquill-cli --form=h
expect "html" rainquill-cli -vf h
expect "1|10" rainquill-cli --custom 1
expect "10" rainquill-cli --sch = 10
expect "" rainquill-cli --prefix ''
expect "" rainquill-cli -s ''
expect "" rainquill-cli -s1
# Files: a name with a space is one offer; after "--" a name may start with "-".
expect "a b.txt" rainquill-cli a
expect "a b.txt" rainquill-cli -f html a
expect "-n.txt" rainquill-cli -- -
expect "--help" rainquill --h
expect "--version" rainquill --v
exit $failed
