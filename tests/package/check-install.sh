#!/bin/sh
# Installs the build tree with `cmake --install` and as the Debian packages
# that CPack makes, and checks what a distribution and a new user would
# check: that the packages together hold exactly the installed files, each
# file in one package, where a Linux desktop looks for it; that both
# programs, started for the first time, create a store pointing at the data
# installed with them; and that the examples build against an installation
# under another prefix, through find_package and through pkg-config, with a
# library that finds that installation's sample data on its first run.
#   check-install.sh BUILD_DIR SCRATCH_DIR LIBDIR
set -eu
build=$(cd "$1" && pwd -P)
scratch=$2
libdir=$3
fail() {
    echo "install check: $*" >&2
    exit 1
}
rm -rf "$scratch"
mkdir -p "$scratch"

DESTDIR=$scratch/src "${CMAKE:-cmake}" --install "$build" --prefix /usr >/dev/null
(cd "$build" && "${CPACK:-cpack}" -G DEB -B "$scratch/cpack" >/dev/null) || fail "cpack failed"
printf '%s\n' libveltrano-dev libveltrano0 veltrano veltrano-data >"$scratch/expected"
# The Python module is a package of its own that a plain install leaves out.
if [ -d "$build/python/veltrano" ]; then
    DESTDIR=$scratch/src "${CMAKE:-cmake}" --install "$build" --prefix /usr --component python >/dev/null
    printf '%s\n' libveltrano-dev libveltrano0 python3-veltrano veltrano veltrano-data >"$scratch/expected"
fi
mkdir "$scratch/deb"
for deb in "$scratch"/cpack/*.deb; do
    package=$(dpkg-deb -f "$deb" Package)
    echo "$package" >>"$scratch/packages"
    dpkg-deb -x "$deb" "$scratch/deb/$package"
    (cd "$scratch/deb/$package" && find . ! -type d) >>"$scratch/deb.list"
    for file in copyright changelog.gz; do
        [ -f "$scratch/deb/$package/usr/share/doc/$package/$file" ] || fail "$package has no $file"
    done
done
LC_ALL=C sort "$scratch/packages" | diff -u "$scratch/expected" - || fail "not the packages expected"
# Sorted but not made unique: a file in two packages shows as a difference.
(cd "$scratch/src" && find . ! -type d | sort) >"$scratch/src.list"
sort -o "$scratch/deb.list" "$scratch/deb.list"
diff -u "$scratch/src.list" "$scratch/deb.list" || fail "packages and cmake --install differ"
# No text file may name the build or staging folders (the pkg-config file
# is written at install time). Binaries are left out: a sanitizer build
# keeps its source paths in them.
! grep -rlIF "$build" "$scratch/deb" || fail "files above name the build folder"

while read -r package file; do
    [ -e "$scratch/deb/$package/usr/$file" ] || [ -L "$scratch/deb/$package/usr/$file" ] || fail "$file is not in $package"
done <<EOF
veltrano bin/veltrano
veltrano bin/veltrano-cli
veltrano share/applications/de.brannock.Veltrano.desktop
veltrano share/metainfo/de.brannock.Veltrano.metainfo.xml
veltrano share/icons/hicolor/scalable/apps/veltrano.svg
veltrano share/man/man1/veltrano.1.gz
veltrano share/man/man1/veltrano-cli.1.gz
veltrano share/man/man5/veltrano-daten.5.gz
veltrano share/bash-completion/completions/veltrano-cli
veltrano-data share/veltrano/init.txt
libveltrano0 $libdir/libveltrano.so.0
libveltrano-dev $libdir/libveltrano.so
libveltrano-dev include/veltrano/veltrano.h
libveltrano-dev include/veltrano/veltrano.hpp
libveltrano-dev $libdir/cmake/Veltrano/VeltranoConfig.cmake
libveltrano-dev $libdir/pkgconfig/veltrano.pc
libveltrano-dev share/man/man3/veltrano.3.gz
libveltrano-dev share/doc/libveltrano-dev/examples/CMakeLists.txt
EOF
for size in 16 32 48 64 128 256; do
    [ -f "$scratch/deb/veltrano/usr/share/icons/hicolor/${size}x$size/apps/veltrano.png" ] ||
        fail "no $size icon"
done

# The store a first start leaves in config folder $1 must name data folder $2.
expect_store() {
    printf 'DataDir=%s\nInitFile=init.txt\n' "$(cd "$2" && pwd -P)" |
        cmp -s - "$1/Brannock/Veltrano.conf" || fail "no store pointing at $2 in $1"
}
# The packages unpacked side by side: the programs beside their data.
usr=$scratch/usr
mkdir -p "$usr"
for package in veltrano veltrano-data; do cp -R "$scratch/deb/$package/usr/." "$usr"; done
XDG_CONFIG_HOME=$scratch/cli-config "$usr/bin/veltrano-cli" --list >"$scratch/cultures" ||
    fail "veltrano-cli --list failed on its first run"
grep -qx Waldelben "$scratch/cultures" || fail "no sample cultures: $(cat "$scratch/cultures")"
expect_store "$scratch/cli-config" "$usr/share/veltrano"

# The desktop program keeps running until it is stopped: timeout's 124 is
# the good outcome.
status=0
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$scratch/ui-config \
    timeout 5 "$scratch/src/usr/bin/veltrano" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed program ended at start ($status)"
expect_store "$scratch/ui-config" "$scratch/src/usr/share/veltrano"

# The examples, built as a user of the development files would build them.
prefix=$scratch/prefix
"${CMAKE:-cmake}" --install "$build" --prefix "$prefix" >/dev/null
examples=$prefix/share/doc/libveltrano-dev/examples
"${CMAKE:-cmake}" -S "$examples" -B "$scratch/examples" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    >"$scratch/examples.log" 2>&1 || fail "find_package failed: $(cat "$scratch/examples.log")"
"${CMAKE:-cmake}" --build "$scratch/examples" >>"$scratch/examples.log" 2>&1 ||
    fail "the examples did not build: $(cat "$scratch/examples.log")"
flags=$(PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig pkg-config --cflags --libs veltrano) ||
    fail "pkg-config does not know veltrano"
# The headers must compile cleanly in the users' programs too.
warnings="-Wall -Wextra -Wpedantic -Werror"
# shellcheck disable=SC2086 # flags and warnings are lists of words
{
    cc $warnings "$examples/names.c" -o "$scratch/names-c" $flags ||
        fail "names.c did not build with pkg-config"
    c++ -std=c++17 $warnings "$examples/names.cpp" -o "$scratch/names-cpp" $flags ||
        fail "names.cpp did not build with pkg-config"
}

# Each prints the names of Waldelben; the first one starts without a store
# and must make one that points at this installation's sample data.
export LD_LIBRARY_PATH="$prefix/$libdir"
# A library built with AddressSanitizer (tools/sanitize) needs its runtime
# loaded first, which the examples, built without it, do not do.
asan=$(ldd "$prefix/$libdir/libveltrano.so.0" | awk '$1 ~ /^libasan/ { print $3 }')
for program in examples/names-c examples/names-cpp names-c names-cpp; do
    XDG_CONFIG_HOME=$scratch/library-config LD_PRELOAD=$asan "$scratch/$program" Waldelben \
        >"$scratch/names" || fail "$program failed"
    grep -q '^  [^ ]' "$scratch/names" || fail "$program made no names: $(cat "$scratch/names")"
    expect_store "$scratch/library-config" "$prefix/share/veltrano"
done
echo "install check passed"
