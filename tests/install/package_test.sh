#!/usr/bin/env bash
# The Debian package: built by CPack from this build, unpacked into a
# throw-away root with dpkg -x, and the program started from there on a
# library in a temporary home. The installed program must find its help file
# and its empty library in share/sitepins, not in the build.
#
# usage: package_test.sh BUILD_FOLDER VERSION
set -euo pipefail
build=$1 version=$2
work=$(mktemp -d)
window=
cleanup() {
    local status=$?
    if [[ -n $window ]]; then
        kill "$window" 2> /dev/null || true
        wait "$window" 2> /dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(echo "$work"/package/sitepins_*.deb)
[[ -f $deb ]] || fail "no package in $work/package"

# Dependencies come from dpkg-shlibdeps: the program's, the bridge's and the
# preview module's libraries, with versions.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6network6 libxml2 libsqlite3-0 libchm1 libqt6webenginewidgets6 libc6; do
    [[ $depends == *"$library ("* ]] || fail "Depends lacks $library: $depends"
done

listing=$(dpkg -c "$deb" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }')
expected=(
    ./usr/bin/SitePins
    ./usr/bin/SitePinsBridge
    ./usr/share/sitepins/SitePins.xml
    "./usr/share/sitepins/SitePins Help.chm"
    ./usr/share/sitepins/Icon.ico
    ./usr/share/sitepins/HotIcon.ico
    ./usr/share/sitepins/extension/chromium/manifest.json
    ./usr/share/sitepins/extension/firefox/manifest.json
    ./usr/share/sitepins/native-messaging/chromium/org.sitepins.bridge.json
    ./usr/share/applications/org.sitepins.SitePins.desktop
    ./usr/share/metainfo/org.sitepins.SitePins.metainfo.xml
    ./usr/share/man/man1/SitePins.1.gz
    ./usr/share/icons/hicolor/scalable/apps/org.sitepins.SitePins.svg
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/org.sitepins.SitePins.png")
done
for path in "${expected[@]}"; do
    grep -qxF "$path" <<< "$listing" || fail "the package lacks $path"
done
grep -q '^\./usr/lib/.*sitepins/SitePinsPreview\.so$' <<< "$listing" || fail "the package lacks the preview module"
if grep -v '^\./usr/' <<< "$listing" | grep -qv '^\./$'; then
    fail "the package installs outside /usr"
fi

root="$work/root"
dpkg -x "$deb" "$root"
grep -qF '"/usr/bin/SitePinsBridge"' "$root/usr/share/sitepins/native-messaging/chromium/org.sitepins.bridge.json" ||
    fail "the host manifest does not name /usr/bin/SitePinsBridge"
appstreamcli validate-tree --no-net "$root" > "$work/tree.log" 2>&1 || { cat "$work/tree.log"; fail "validate-tree"; }
zcat "$root/usr/share/man/man1/SitePins.1.gz" | grep -q "^\.SH OPTIONS" || fail "the manual page has no options"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
program="$root/usr/bin/SitePins"

[[ $("$program" --version) == "SitePins Manager $version" ]] || fail "--version: $("$program" --version)"
guide=$("$program" --help | sed -n 's/^The user guide: //p')
[[ $guide == "$root/usr/share/sitepins/SitePins Help.chm" ]] || fail "--help names the user guide as '$guide'"

# The window on the default library, made from the installed empty one.
"$program" > "$work/window.log" 2>&1 &
window=$!
library="$XDG_DATA_HOME/SitePins/MySitePins/SitePins.xml"
for _ in $(seq 150); do
    [[ -S $XDG_RUNTIME_DIR/SitePins/SitePins.socket && -f $library ]] && break
    kill -0 "$window" 2> /dev/null || { cat "$work/window.log"; fail "the installed program ended"; }
    sleep 0.2
done
[[ -f $library ]] || fail "no library was made from the installed empty library"
cmp -s "$library" "$root/usr/share/sitepins/SitePins.xml" || fail "the new library is not the empty library"
[[ -w $library ]] || fail "the user's library is not writable"

# A command is carried out by the running window, which saves it.
answer=$("$program" --add https://installed.example/ --name Installed) || fail "--add failed: $answer"
[[ $answer == 'Added "Installed" to Unsorted (new folder).' ]] || fail "--add answered: $answer"
grep -q 'installed.example' "$library" || fail "the library does not hold the new SitePin"
kill -0 "$window" 2> /dev/null || fail "the window ended"
echo "package installs and runs"
