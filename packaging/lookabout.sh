#!/bin/sh
# The `lookabout` command: starts Lookabout from the folder it is installed in.
#
# The program keeps its settings, Lookabout.ini, next to its executable. Where that folder is not yours to write
# (a system-wide install, the Debian package), the first start makes a copy of your own in
# ${XDG_DATA_HOME:-~/.local/share}/lookabout and every start runs from there: your characters and pictures live
# in that copy, and its program file is renewed whenever the installed one changes (an upgrade).
set -eu

installed=$(dirname "$(readlink -f "$0")")
if [ -w "$installed" ] && { [ ! -e "$installed/Lookabout.ini" ] || [ -w "$installed/Lookabout.ini" ]; }; then
    exec "$installed/Lookabout" "$@"
fi

own="${XDG_DATA_HOME:-${HOME:?}/.local/share}/lookabout"
mkdir -p "$own"
if [ ! -e "$own/Lookabout.ini" ]; then
    echo "Lookabout: $installed is read-only for you; your characters are kept in $own" >&2
fi
# The settings and pictures only when missing: they are the user's from the first start on.
for file in "$installed"/*; do
    name=${file##*/}
    case "$name" in
        Lookabout | lookabout.sh) ;;
        *) [ -e "$own/$name" ] || cp -p "$file" "$own/$name" ;;
    esac
done
# The program file follows the installation. A new file renamed over the old one leaves a running copy alone.
if ! cmp -s "$installed/Lookabout" "$own/Lookabout"; then
    cp "$installed/Lookabout" "$own/.Lookabout.new"
    chmod 755 "$own/.Lookabout.new"
    mv -f "$own/.Lookabout.new" "$own/Lookabout"
fi
exec "$own/Lookabout" "$@"
