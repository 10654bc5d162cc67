#!/usr/bin/env bash
# Loads the bash completion of orvane-ctl in bash and asks it what a TAB completes.
# check-completion.sh COMPLETION_FILE ORVANE_CTL
set -euo pipefail
file=$1
ctl=$2
. "$(dirname "$0")/ctl-commands.sh"
complete_line() { # the words of the command line, the last one being completed
    bash --norc --noprofile -c '
        . "$0"
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="$*"
        COMP_POINT=${#COMP_LINE}
        function=$(complete -p orvane-ctl | sed -n "s/.*-F \([^ ]*\).*/\1/p")
        "$function" orvane-ctl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
        printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' "$file" "$@"
}
fail() { echo "FAIL: $*" >&2; exit 1; }
got=$(complete_line orvane-ctl s)
[ "$got" = "send show " ] || fail "orvane-ctl s<TAB> gives \"$got\""
all=$(complete_line orvane-ctl "")
for command in $(ctl_commands "$ctl") --help --version; do
    [[ " $all" == *" $command "* ]] || fail "orvane-ctl <TAB> does not offer \"$command\": $all"
done
got=$(complete_line orvane-ctl connect --)
[ "$got" = "--power-on " ] || fail "orvane-ctl connect --<TAB> gives \"$got\""
echo "orvane-ctl s<TAB>: send show"
