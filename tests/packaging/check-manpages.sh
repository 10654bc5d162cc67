#!/usr/bin/env bash
# Renders each manual page as lintian does and fails on any warning of the formatter;
# the page of orvane-ctl names every command its help lists.
# check-manpages.sh MAN_DIR ORVANE_CTL
set -euo pipefail
dir=$1
ctl=$2
. "$(dirname "$0")/ctl-commands.sh"
command -v man >/dev/null || { echo "SKIP: man is not installed (scripts/install-deps)"; exit 77; }
status=0
for page in orvane orvane-ctl orvane-receiver; do
    file="$dir/$page.1"
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null) || true
    [ -z "$warnings" ] || { echo "FAIL: $page.1: $warnings" >&2; status=1; }
    LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$file" 2>/dev/null | grep -q "^NAME" \
        || { echo "FAIL: $page.1 does not render" >&2; status=1; }
done
for command in $(ctl_commands "$ctl"); do
    # roff writes a hyphen in a name as "\-".
    pattern=${command//-/'\\?-'}
    grep -qE "^\.B[IR]? $pattern( |$)" "$dir/orvane-ctl.1" \
        || { echo "FAIL: orvane-ctl.1 does not describe \"$command\"" >&2; status=1; }
done
exit $status
