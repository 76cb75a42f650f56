#!/usr/bin/env bash
# The menu entry and the AppStream description pass the validators the
# desktops and software centres use, and agree with each other and with the
# program's name for its windows.
#
# usage: validate_metadata.sh DESKTOP_FILE METAINFO_FILE
set -euo pipefail
desktop=$1 metainfo=$2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"

value() { sed -n "/^\[Desktop Entry\]/,/^\[/s/^$1=//p" "$desktop"; }
id=$(basename "$desktop" .desktop)
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the metainfo launches no $id.desktop"
[[ $(value Icon) == "$id" ]] || fail "Icon is not $id"
[[ $(value StartupWMClass) == SitePins ]] || fail "StartupWMClass is not the application name SitePins"
[[ $(value Categories) == "Network;Utility;" ]] || fail "Categories are $(value Categories)"
grep -q '^Name=Create SitePin$' "$desktop" || fail "no Create SitePin action"
echo "desktop file and metainfo are valid"
