#!/usr/bin/env bash
# Builds the Debian packages with dpkg-buildpackage from a copy of the source tree in
# OUT/src, and puts them, with their .changes and .buildinfo, into OUT/packages.
# build-package.sh SOURCE_DIR OUT
# The copy keeps its build folder between runs, so a later run compiles only what
# changed; the compiler cache is the user's own (debhelper gives the build a home of
# its own). Installs nothing.
set -euo pipefail
source_dir=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
tree="$out/src/orvane-$version"
mkdir -p "$tree"

# The tree afresh, but for the build folder (obj-*); the files keep their times, so the
# build sees only the changed ones as new.
find "$tree" -mindepth 1 -maxdepth 1 ! -name 'obj-*' -exec rm -rf {} +
if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard \
        | xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh \
        | tar -c --null -T - -f -) | tar -x -C "$tree"
else
    (cd "$source_dir" && tar -c --exclude='./build*' --exclude='./obj-*' -f - .) | tar -x -C "$tree"
fi

# CMake reads the compiler flags only when it first configures a folder: other flags or
# another debian/rules start the build folder afresh.
key=$(cd "$tree" && { cat debian/rules debian/control; DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags; } | sha256sum)
for folder in "$tree"/obj-*; do
    [ -d "$folder" ] || continue
    [ "$(cat "$out/build-key" 2>/dev/null)" = "$key" ] || rm -rf "$folder"
done
echo "$key" >"$out/build-key"

if command -v ccache >/dev/null; then
    CCACHE_DIR=$(ccache --get-config cache_dir)
    # Paths below the copy count as relative, so builds of copies in other folders (each
    # checkout's own) share the cached objects; the debug information names the sources
    # relative to the copy anyway (-ffile-prefix-map).
    CCACHE_BASEDIR=$tree
    CCACHE_NOHASHDIR=true
    export CCACHE_DIR CCACHE_BASEDIR CCACHE_NOHASHDIR
fi
export DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}"
rm -f "$out"/src/*.deb "$out"/src/*.ddeb "$out"/src/*.changes "$out"/src/*.buildinfo
# -nc: the build folder of the previous run is kept (debian/ is new, so every step runs).
(cd "$tree" && dpkg-buildpackage -us -uc -b -nc) >"$out/build.log" 2>&1 \
    || { tail -n 60 "$out/build.log" >&2; echo "dpkg-buildpackage failed: $out/build.log" >&2; exit 1; }
rm -rf "$out/packages"
mkdir -p "$out/packages"
mv "$out"/src/*.deb "$out"/src/*.changes "$out"/src/*.buildinfo "$out/packages/"
mv "$out"/src/*.ddeb "$out/packages/" 2>/dev/null || true
ls "$out/packages"
