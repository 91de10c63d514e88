#!/bin/sh
# Every long option that `veltrano-cli --help` names has an entry of its own
# in the manual page, so that a new option cannot stay undocumented.
#   manual-options.sh VELTRANO_CLI PAGE.scd
set -eu
missing=
for option in $("$1" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -Eq -- "^(\*-[a-zA-Z]\*, )?\*$option\*( |$)" "$2" || missing="$missing $option"
done
[ -z "$missing" ] || { echo "no entry in $2 for:$missing" >&2; exit 1; }
