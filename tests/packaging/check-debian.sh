#!/usr/bin/env bash
# Builds the Debian packages as the README says (dpkg-buildpackage on a copy of the tree)
# and checks them: lintian --pedantic shows no error and no warning, the expected files
# are in the packages, the example add-in is not installed as a plug-in, and apt could
# install the program's packages here. Installs nothing.
# check-debian.sh SOURCE_DIR WORK_DIR EXPECTED_FILES
set -euo pipefail
source_dir=$1
work=$2
expected=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }
for tool in dpkg-buildpackage dpkg-checkbuilddeps dh lintian; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps)"
done
missing=$(cd "$source_dir" && dpkg-checkbuilddeps 2>&1) \
    || skip "build dependencies missing (scripts/install-deps): $missing"

start=$(date +%s)
"$source_dir/packaging/build-package.sh" "$source_dir" "$work" >/dev/null
echo "package build: $(($(date +%s) - start)) s"
packages=$work/packages
ls -l "$packages"/*.deb | awk '{print "  " $5 "\t" $9}' | sed "s|$packages/||"

# Errors and warnings fail; the informational and pedantic tags are shown.
lintian --pedantic --display-info --display-experimental --fail-on error,warning \
    "$packages"/*.changes 2>&1 | tee "$work/lintian.log" \
    || fail "lintian found errors or warnings"
echo "lintian: $(grep -c "^[EWIPXCO]: " "$work/lintian.log" || true) tags"

contents=$(for deb in "$packages"/*.deb; do dpkg-deb -c "$deb"; done | awk '{print $6}' | sed 's|^\./|/|')
while IFS= read -r file; do
    [ -z "$file" ] && continue
    # The examples are the add-in package's documentation, checked below.
    [[ "$file" == share/doc/* ]] && continue
    # Libraries lie in the multiarch folder; manual pages are compressed.
    [[ "$file" == lib/* && "$file" != lib/systemd/* ]] && file="lib/*/${file#lib/}"
    pattern="^/usr/${file//\*/[^/]*}(\.gz)?\$"
    grep -qE "$pattern" <<<"$contents" || fail "in no package: /usr/$file"
done <"$expected"
grep -qE '/orvane/AddIn/.*\.so$' <<<"$contents" && fail "the example add-in is installed as a plug-in"
grep -q '/usr/share/doc/orvane-addin-dev/examples/NightVolume/NightVolumeAddIn.cpp' <<<"$contents" \
    || fail "the example add-in's source is not in orvane-addin-dev"

# The example add-in builds from the add-in package alone.
rm -rf "$work/sdk"
dpkg-deb -x "$(ls "$packages"/orvane-addin-dev_*.deb)" "$work/sdk"
example=$work/sdk/usr/share/doc/orvane-addin-dev/examples/NightVolume
{ cmake -S "$example" -B "$work/sdk/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/sdk/usr" \
    && cmake --build "$work/sdk/build"; } >"$work/example.log" 2>&1 \
    || { cat "$work/example.log" >&2; fail "the example add-in does not build from orvane-addin-dev"; }
echo "the example add-in builds from orvane-addin-dev"

runtime=()
for name in orvane orvane-receiver libchromell1 libpushwell1; do
    runtime+=("$(ls "$packages/${name}"_*.deb)")
done
depends=$(dpkg-deb -f "${runtime[0]}" Depends)
echo "orvane Depends: $depends"
for library in libc6 libqt6core6 libqt6widgets6 libqt6serialport6 libchromell1 libpushwell1; do
    grep -q "$library" <<<"$depends" || fail "dependency on $library not computed"
done
apt-get install --simulate --no-install-recommends "${runtime[@]}" >"$work/apt-simulate.log" 2>&1 \
    || { cat "$work/apt-simulate.log" >&2; fail "apt would not install the packages"; }
echo "apt would install them"
