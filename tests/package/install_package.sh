#!/usr/bin/env bash
# Builds the .deb from the build folder, installs it on this machine, runs the
# installed program as the desktop would (menu entry, its actions, Open With,
# D-Bus activation) and removes the package again, checking that nothing it
# installed is left behind. Runs inside the test command's X server and
# session bus. Needs root: skipped (77) otherwise.
set -euo pipefail
build=$1
appId=com.tarnwick.Tarnwick
apps=/usr/share/applications

[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
if dpkg-query -W -f='${Status}' tarnwick 2>/dev/null | grep -q 'install ok installed'; then
  echo "SKIP: a tarnwick package is already installed here; not replacing it"; exit 77
fi

work=$(mktemp -d)
cleanup() {
  stop_instance || true
  dpkg -r tarnwick >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

bus() {  # bus <method> <args...>: a call to the bus daemon itself
  local method=$1; shift
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "org.freedesktop.DBus.$method" "$@"
}
owned() { bus NameHasOwner string:$appId | grep -q 'boolean true'; }
instance_pid() { bus GetConnectionUnixProcessID string:$appId | awk '/uint32/ {print $2}'; }
stop_instance() {
  owned || return 0
  kill "$(instance_pid)"
  for _ in $(seq 50); do owned || return 0; sleep 0.1; done
  fail "the instance did not leave the bus"
}
wait_for() {  # wait_for <what> <command...>: up to 10 s
  local what=$1; shift
  for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  fail "$what"
}
window() { xdotool search --onlyvisible --name "^$1\$"; }
entry_exec() {  # entry_exec <file> [action]: the Exec line of the entry or one of its actions
  local group="Desktop Entry"
  [ $# -gt 1 ] && group="Desktop Action $2"
  awk -v g="[$group]" '/^\[/ {inside = ($0 == g)} inside && /^Exec=/ {sub(/^Exec=/, ""); print; exit}' "$1"
}

# ---- the package ----------------------------------------------------------------
(cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null)
deb=$(echo "$work"/pkg/tarnwick_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libtesseract5 tesseract-ocr-eng libqt6widgets6 libzxing2 qt6-qpa-plugins; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
dpkg -i "$deb" >/dev/null
mapfile -t installed < <(dpkg -L tarnwick | while read -r f; do [ -f "$f" ] && echo "$f"; done)
for f in /usr/bin/tarnwick $apps/$appId.desktop $apps/$appId.Annotate.desktop $apps/$appId.PickColour.desktop \
  /usr/share/metainfo/$appId.metainfo.xml /usr/share/dbus-1/services/$appId.service \
  /usr/share/icons/hicolor/scalable/apps/$appId.svg /usr/share/icons/hicolor/symbolic/apps/$appId-symbolic.svg \
  /usr/share/icons/hicolor/48x48/apps/$appId.png /usr/share/icons/hicolor/256x256/apps/$appId.png \
  /usr/share/man/man1/tarnwick.1.gz /usr/share/doc/tarnwick/symbols/LICENSE \
  /usr/share/doc/tarnwick/wlr-protocols/LICENSE; do
  printf '%s\n' "${installed[@]}" | grep -qx "$f" || fail "not installed: $f"
done
[ "$(identify -format %wx%h /usr/share/icons/hicolor/256x256/apps/$appId.png)" = 256x256 ] || fail "256 icon has the wrong size"
desktop-file-validate $apps/$appId*.desktop
grep -q "^image/webp=.*$appId.PickColour.desktop" $apps/mimeinfo.cache || fail "Open With entries not registered"
grep -q "Exec=/usr/bin/tarnwick$" /usr/share/dbus-1/services/$appId.service || fail "service file names another binary"

# ---- a throwaway user ------------------------------------------------------------
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
  XDG_CACHE_HOME=$work/home/.cache
mkdir -p "$XDG_CONFIG_HOME" "$HOME/Pictures/Screenshots"
echo 'XDG_PICTURES_DIR="$HOME/Pictures"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
unset QT_QPA_PLATFORM
cd "$work"

# ---- headless analysis from the installed path --------------------------------------
qrencode -s 8 -o qr.png "https://tarnwick.com/installed"
tarnwick --codes qr.png | grep -q '"text":"https://tarnwick.com/installed"' || fail "--codes"
convert -size 900x160 xc:white -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -pointsize 44 \
  -fill black -annotate +30+95 "Installed package reads text" text.png
[ "$(tarnwick --text text.png)" = "Installed package reads text" ] || fail "--text"

# ---- the menu entry, its action and Open With ----------------------------------------
menu=$(entry_exec $apps/$appId.desktop)
[ "$(command -v "${menu%% *}")" = /usr/bin/tarnwick ] || fail "menu command is not the installed binary: $menu"
$menu >"$work/app.log" 2>&1 &
wait_for "the menu command did not start the app" owned
[ "$(readlink "/proc/$(instance_pid)/exe")" = /usr/bin/tarnwick ] || fail "the instance is not the installed binary"
cp qr.png "$HOME/Pictures/Screenshots/Screenshot from 2026-12-07 10-00-00.png"
wait_for "the installed app did not capture a screenshot" bash -c \
  "dbus-send --session --print-reply --dest=$appId / org.freedesktop.DBus.Properties.Get string:$appId string:Screenshots | grep -q '10-00-00.png'"
$(entry_exec $apps/$appId.desktop library)
wait_for "the Library action showed no window" window Library
picker=$(entry_exec $apps/$appId.PickColour.desktop)
${picker/\%f/$work/qr.png}
wait_for "Open With showed no colour picker" window "Color Picker"
stop_instance

# ---- D-Bus activation: calling the name starts the installed app ---------------------
dbus-update-activation-environment HOME="$HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" XDG_DATA_HOME="$XDG_DATA_HOME" \
  XDG_CACHE_HOME="$XDG_CACHE_HOME" DISPLAY="$DISPLAY"
bus ReloadConfig >/dev/null
dbus-send --session --print-reply --reply-timeout=20000 --dest=$appId / $appId.Settings >/dev/null ||
  fail "the bus could not start the app"
wait_for "the activated app showed no settings" window "Tarnwick Settings"
stop_instance

# ---- removal ---------------------------------------------------------------------------
dpkg -r tarnwick >/dev/null
for f in "${installed[@]}"; do [ ! -e "$f" ] || fail "left behind after removal: $f"; done
echo "installed ${#installed[@]} files, ran from the menu, Open With and the bus, removed them all"
