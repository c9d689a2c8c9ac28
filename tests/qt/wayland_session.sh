#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program on a Wayland desktop, as Debian 13's GNOME and Raspberry
# Pi OS run it: Debian's sway, headless, with Qt's own Wayland plugin (a
# native Wayland window, not one through XWayland, which this compositor
# does not even start). It checks the window the compositor sees (title,
# xdg-shell, 412 x 203), types a calculation as a person would (wtype, the
# compositor's virtual keyboard), and compares the window's picture with the
# same calculation's in a real X server, pixel for pixel: both are drawn by
# the same Qt on this machine. Then the input method, as in the X server
# (ime_session.sh): ibus with Mozc through Qt's ibus input context, keys
# through the compositor; the Enter that commits a composition does not
# calculate, and the program is read back over AT-SPI.
# sway refuses to run as root: as root the session runs as nobody.
#
#   wayland_session.sh TRESSIN
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAILED: $*"; exit 1; }
for tool in sway swaymsg wtype grim xvfb-run xdotool import compare dbus-run-session; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh --test installs it)"
done
# Keys typed into both sessions: 333 m, 60 kg, 60 秒, Enter; then the focus
# to the first 参考 button, so that no blinking caret is in either picture.
keys=(End BackSpace 3 3 3 Tab End BackSpace 6 0 Tab End BackSpace 6 0 Return Tab Tab Tab Tab)

if [ -z "${WAYLAND_SESSION_INSIDE:-}" ]; then
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  # What the session runs goes into its home, which nobody can read even
  # when the build tree sits in root's own folder.
  mkdir "$home/bin"
  cp "$program" "$home/bin/tressin"
  cp "$here/wayland_session.sh" "$here/ime_program.py" "$here/../ui/mozc.sh" "$home/bin/"

  echo "== the same calculation in a real X server, for comparison"
  xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb bash -c '
    cd "$1" || exit 1
    bin/tressin & trap "kill \$! 2>/dev/null" EXIT
    for _ in $(seq 100); do window=$(xdotool search --name "^Kobrel\$" | head -1); [ -n "$window" ] && break; sleep 0.1; done
    [ -n "$window" ] || exit 1
    sleep 0.5
    xdotool windowfocus --sync "$window" key --delay 30 "${@:2}"
    sleep 1
    import -window "$window" x11.png' _ "$home" "${keys[@]}" || fail "no window in the X server"

  as=()
  if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody: "$home"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  runtime=$(mktemp -d)
  chmod 700 "$runtime"
  [ ${#as[@]} -eq 0 ] || chown nobody: "$runtime"
  "${as[@]}" env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_RUNTIME_DIR="$runtime" WAYLAND_SESSION_INSIDE=1 \
    dbus-run-session -- bash "$home/bin/wayland_session.sh" "$home/bin/tressin"
  status=$?
  rm -rf "$runtime"
  [ "$status" -eq 0 ] || [ "$status" -eq 77 ] || exit "$status"
  differing=$(compare -metric AE "$home/x11.png" "$home/wayland.png" null: 2>&1) || true
  if [ "$differing" != 0 ]; then
    for f in x11 wayland; do cp "$home/$f.png" "/tmp/tressin-$f.png"; done
    fail "the Wayland window differs from the X11 one in $differing pixels (/tmp/tressin-x11.png, /tmp/tressin-wayland.png)"
  fi
  echo "the Wayland window shows what the X11 one shows, pixel for pixel"
  exit "$status"
fi

cd "$HOME"
printf 'output HEADLESS-1 resolution 1024x768\n' >sway.config
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c sway.config >sway.log 2>&1 &
compositor=$!
trap 'kill "$compositor" 2>/dev/null' EXIT
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-1" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/wayland-1" ] || { cat sway.log; fail "sway did not start"; }
export WAYLAND_DISPLAY=wayland-1 QT_QPA_PLATFORM=wayland
export SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)
echo "== sway $(sway --version | sed 's/sway version //'), headless; Qt's Wayland plugin"
# The window as the compositor has it: x y width height shell, of its content.
view() {
  swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    if n.get("name") == "Kobrel" and n.get("shell"):
        r, w = n["rect"], n["window_rect"]
        print(r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"], n["shell"])
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))'
}
# A keyboard on the seat before the program starts, as a desktop has one:
# Qt takes a window that gains the keyboard's focus for the active one.
wtype -s 600000 &
keyboard=$!
sleep 0.3
bin/tressin >tressin.log 2>&1 &
program_pid=$!
trap 'kill "$program_pid" "$keyboard" "$compositor" 2>/dev/null' EXIT
seen=
for _ in $(seq 100); do seen=$(view); [ -n "$seen" ] && break; sleep 0.1; done
read -r x y width height shell <<<"$seen"
[ -n "$seen" ] || { cat tressin.log; fail "no window named Kobrel"; }
[ "$shell" = xdg_shell ] || fail "the window is not a native Wayland one: $shell"
[ "${width}x$height" = 412x203 ] || fail "the window is ${width}x$height"
echo "a native Wayland window (xdg-shell): Kobrel, 412 x 203"
sleep 0.5
# The same keys as in the X server, through the compositor's virtual keyboard.
typed=()
for key in "${keys[@]}"; do typed+=(-k "$key"); done
wtype -d 30 "${typed[@]}" || fail "wtype"
sleep 0.5
grim -g "$x,$y ${width}x$height" wayland.png || fail "grim"
kill "$program_pid" 2>/dev/null
wait "$program_pid" 2>/dev/null

# The input method, as ime_session.sh tries it in the X server.
if [ ! -x /usr/lib/ibus-mozc/ibus-engine-mozc ] || ! command -v ibus-daemon >/dev/null ||
   ! /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null; then
  echo "SKIPPED: the input method on Wayland (ibus-mozc, ibus or gir1.2-atspi-2.0 is not installed)"
  exit 77
fi
echo "== the input method on Wayland: ibus with Mozc, through Qt's ibus input context"
skip() { echo "SKIPPED: $*"; exit 77; }
source bin/mozc.sh
start_mozc
QT_IM_MODULE=ibus QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 TRESSIN_KEYS=wtype \
  /usr/bin/python3 bin/ime_program.py bin/tressin || fail "the input method on Wayland"
ibus exit >/dev/null 2>&1

exit 0
