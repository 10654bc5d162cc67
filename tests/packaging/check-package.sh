#!/usr/bin/env bash
# Builds the Debian package and checks its contents against the expected files, its
# computed dependencies and that apt could install it here.
# check-package.sh BUILD_DIR EXPECTED_FILES PREFIX
set -euo pipefail
build=$1
expected=$2
prefix=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in dpkg-deb dpkg-shlibdeps fakeroot; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps)"; exit 77; }
done
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$build"/packages/orvane_*.deb)
echo "package: $deb"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
while IFS= read -r file; do
    [ -z "$file" ] && continue
    pattern="^${prefix}/${file//\*/[^/]*}\$"
    grep -qE "$pattern" <<<"$contents" || fail "not in the package: $prefix/$file"
done <"$expected"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libqt6core6 libqt6widgets6 libqt6serialport6 libqt6network6; do
    grep -q "$library" <<<"$depends" || fail "dependency on $library not computed"
done
[ "$(dpkg-deb -f "$deb" Package)" = orvane ] || fail "package name"

if command -v apt-get >/dev/null; then
    apt-get install --simulate --no-install-recommends "$deb" >"$build/apt-simulate.log" 2>&1 \
        || { cat "$build/apt-simulate.log" >&2; fail "apt would not install the package"; }
    echo "apt would install it"
fi
