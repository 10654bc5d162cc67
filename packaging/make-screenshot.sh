#!/usr/bin/env bash
# Renders the main window, connected to the virtual receiver over TCP, offscreen into
# a PNG: make-screenshot.sh BUILD_DIR OUTPUT.png
set -euo pipefail
build=$1
output=$2
work=$(mktemp -d)
receiver_pid=
cleanup() {
    [ -n "$receiver_pid" ] && kill "$receiver_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkfifo "$work/events"
"$build/orvane-receiver" --tcp 0 --reports-on <"$work/events" >"$work/address" &
receiver_pid=$!
exec 3>"$work/events"
for _ in $(seq 50); do
    [ -s "$work/address" ] && break
    sleep 0.1
done
address=$(head -n1 "$work/address")
mkdir -p "$work/config/Orvane"
printf '[Ports]\nCom1=%s\n' "$address" >"$work/config/Orvane/Orvane.conf"
# Something on the display: the receiver's input name after connecting.
(sleep 2.5; echo 10210C >&3) &
XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" QT_QPA_PLATFORM=offscreen \
    "$build/orvane-screenshot" "$output" -C1
echo "screenshot: $output"
