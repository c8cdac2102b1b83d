#!/bin/bash
# Completes words as bash does at a TAB and checks the offers.
#   completion.sh COMPLETIONS_DIR
set -u
dir=$1 failed=0
offers() { # the command's words, the last being the one completed
    local command=$1
    source "$dir/$command"
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    "$(complete -p "$command" | sed 's/.*-F \([^ ]*\).*/\1/')"
    echo "${COMPREPLY[*]}"
}
expect() { # expected offers, then the words
    local want=$1
    shift
    local got
    got=$(offers "$@")
    [ "$got" = "$want" ] || { echo "$* -> \"$got\", not \"$want\"" >&2; failed=1; }
}
expect "--format" rainquill-cli --fo
expect "--suffix --scheme --step" rainquill-cli --s
expect "html" rainquill-cli -f h
expect "1 10" rainquill-cli --custom 1
expect "" rainquill-cli --prefix ''
expect "--help" rainquill --h
expect "--version" rainquill --v
exit $failed
