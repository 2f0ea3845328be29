#!/usr/bin/env bash
# kvr's manual page and bash completion name every command and option that kvr --help lists,
# and nothing else; the manual page formats without a warning.
#   docs_test.sh KVR MANUAL_PAGE COMPLETION
set -euo pipefail
kvr=$1 manual=$2 completion=$3
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

# The names a help section lists, two blanks in ("Subcommands:" the commands, "Options:" the
# options); deeper lines are wrapped descriptions.
section() { sed -n "/^$1:/,/^\$/p" | awk 'NR > 1 && /^  [^ ]/ { print $1 }' | tr ',' '\n' | sed 's/=.*//' | grep -v '^$' | sort; }
commands=$("$kvr" --help | section Subcommands)

source /usr/share/bash-completion/bash_completion
source "$completion"
offered() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _kvr
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

[ "$(offered kvr '')" = "$(printf '%s\n' $commands --help --version | sort)" ] ||
    fail "completion offers $(offered kvr '' | tr '\n' ' ')for the commands $(echo $commands)"
for command in $commands; do
    options=$("$kvr" "$command" --help | section Options | grep -v '^-h$')
    [ "$(offered kvr "$command" -)" = "$options" ] ||
        fail "completion of '$command' offers $(offered kvr "$command" - | tr '\n' ' ')for $(echo $options)"
    grep -q "^\\\\fB$command\\\\fR" "$manual" || fail "the manual page has no entry for $command"
    for option in $options; do
        grep -qF -- "\\fB${option//-/\\-}\\fR" "$manual" || grep -qF -- ".BR ${option//-/\\-}" "$manual" ||
            fail "the manual page does not name $option of $command"
    done
done

warnings=$(groff -man -Tutf8 -ww -z "$manual" 2>&1)
[ -z "$warnings" ] || fail "the manual page formats with warnings: $warnings"
exit $failed
