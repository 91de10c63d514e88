#!/bin/sh
# Installs the build tree twice, with `cmake --install` and as the Debian
# package that CPack makes, checks that both place the same files where a
# Linux desktop looks for them, and that both programs, started for the first
# time, create a store pointing at the data installed with them.
#   check-install.sh BUILD_DIR SCRATCH_DIR
set -eu
build=$1
scratch=$2
fail() {
    echo "install check: $*" >&2
    exit 1
}
rm -rf "$scratch"
mkdir -p "$scratch"

DESTDIR=$scratch/src "${CMAKE:-cmake}" --install "$build" --prefix /usr >/dev/null
(cd "$build" && "${CPACK:-cpack}" -G DEB -B "$scratch/cpack" >/dev/null) || fail "cpack failed"
dpkg-deb -x "$scratch"/cpack/veltrano_*.deb "$scratch/deb"
(cd "$scratch/src" && find . ! -type d | sort) >"$scratch/src.list"
(cd "$scratch/deb" && find . ! -type d | sort) >"$scratch/deb.list"
diff -u "$scratch/src.list" "$scratch/deb.list" || fail "package and cmake --install differ"

usr=$scratch/deb/usr
for file in bin/veltrano bin/veltrano-cli share/veltrano/init.txt \
    share/applications/de.brannock.Veltrano.desktop \
    share/metainfo/de.brannock.Veltrano.metainfo.xml \
    share/icons/hicolor/scalable/apps/veltrano.svg \
    share/man/man1/veltrano.1.gz share/man/man1/veltrano-cli.1.gz \
    share/man/man5/veltrano-daten.5.gz share/bash-completion/completions/veltrano-cli \
    share/doc/veltrano/copyright share/doc/veltrano/changelog.gz; do
    [ -f "$usr/$file" ] || fail "$file is missing"
done
for size in 16 32 48 64 128 256; do
    [ -f "$usr/share/icons/hicolor/${size}x$size/apps/veltrano.png" ] || fail "no $size icon"
done

# The store a first start leaves in config folder $1 must name data folder $2.
expect_store() {
    printf 'DataDir=%s\nInitFile=init.txt\n' "$(cd "$2" && pwd -P)" |
        cmp -s - "$1/Brannock/Veltrano.conf" || fail "no store pointing at $2 in $1"
}
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
echo "install check passed"
