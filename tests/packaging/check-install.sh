#!/usr/bin/env bash
# Installs the build into a temporary root and checks it: the expected files are there,
# the menu entry and the store listing pass their validators, and the installed program
# runs offscreen against the installed virtual receiver over TCP, connects, ends in order
# and writes nothing into the installed tree.
# check-install.sh BUILD_DIR EXPECTED_FILES PREFIX
set -euo pipefail
build=$1
expected=$2
prefix=$3
work=$(mktemp -d)
receiver_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill -9 "$program_pid" 2>/dev/null || true
    [ -n "$receiver_pid" ] && kill "$receiver_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

root="$work/root"
DESTDIR="$root" cmake --install "$build" >"$work/install.log"
tree="$root$prefix"

missing=0
while IFS= read -r file; do
    [ -z "$file" ] && continue
    # shellcheck disable=SC2086 # a pattern such as lib/orvane/AddIn/*.so
    if ! compgen -G "$tree/$file" >/dev/null; then
        echo "missing: $prefix/$file" >&2
        missing=1
    fi
done <"$expected"
[ "$missing" -eq 0 ] || fail "files missing from the installed tree"
echo "installed files:"
(cd "$root" && find . -type f -o -type l | sort | sed 's/^\./  /')

for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps)"; exit 77; }
done
desktop-file-validate "$tree"/share/applications/*.desktop
# The user service: systemd accepts it and it starts the installed program.
grep -q "^ExecStart=$tree/bin/orvane " "$tree"/lib/systemd/user/orvane.service \
    || grep -q "^ExecStart=.*/bin/orvane " "$tree"/lib/systemd/user/orvane.service
if command -v systemd-analyze >/dev/null; then
    systemd-analyze verify --user "$tree"/lib/systemd/user/orvane.service 2>&1 \
        | grep -v "executable path\|is not executable\|No such file" || true
fi
appstreamcli validate --no-net --pedantic "$tree"/share/metainfo/*.metainfo.xml \
    || appstreamcli validate --no-net "$tree"/share/metainfo/*.metainfo.xml

# The installed program against the installed virtual receiver.
find "$root" | sort >"$work/before"
mkfifo "$work/events"
"$tree/bin/orvane-receiver" --tcp 0 --log <"$work/events" >"$work/address" 2>"$work/traffic" &
receiver_pid=$!
exec 3>"$work/events"
for _ in $(seq 50); do [ -s "$work/address" ] && break; sleep 0.1; done
address=$(head -n1 "$work/address")
[[ "$address" == tcp://* ]] || fail "the installed receiver printed no address"
mkdir -p "$work/home/.config/Orvane"
printf '[Ports]\nCom1=%s\n' "$address" >"$work/home/.config/Orvane/Orvane.conf"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_STATE_HOME="$work/home/.local/state" \
    QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH= "$tree/bin/orvane" -C1 >"$work/program.log" 2>&1 &
program_pid=$!
for _ in $(seq 150); do grep -q '20000' "$work/traffic" && break; sleep 0.1; done
grep -q '20000' "$work/traffic" || { cat "$work/program.log" >&2; fail "the installed program did not connect"; }
kill -TERM "$program_pid"
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || { cat "$work/program.log" >&2; fail "the installed program ended with $status"; }
grep -q 'Com1=' "$work/home/.config/Orvane/Orvane.conf" || fail "settings not kept"
find "$root" | sort >"$work/after"
diff -u "$work/before" "$work/after" || fail "the program wrote into its installed tree"
echo "installed program connected over TCP and ended in order"
