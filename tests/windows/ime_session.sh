#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real tressin.exe under Wine typed into through a Japanese input
# method: ibus with Mozc in hiragana mode, reached by Wine through XIM, keys
# from xdotool, results read from outside with wintool. Windows hands an
# IME's keys to the program as VK_PROCESSKEY and Wine's XIM keeps them
# altogether, so the Enter that commits must not press 計算; the next does.
# Mozc refuses to run as root, and Wine a prefix that another user owns, so
# as root the session runs as nobody with a prefix of its own.
# Exits 77 (skipped) with a notice where the input method cannot start.
#
#   ime_session.sh DIST_DIR WINTOOL_EXE
set -uo pipefail
skip() { echo "SKIPPED: $*"; exit 77; }
for tool in xvfb-run dbus-run-session ibus-daemon ibus xdotool /usr/lib/wine/wine64; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh --test installs it)"
done
[ -x /usr/lib/ibus-mozc/ibus-engine-mozc ] || skip "ibus-mozc is not installed"

if [ -z "${IME_SESSION_INSIDE:-}" ]; then
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  mkdir "$home/bin"
  cp "$1/tressin.exe" "$1/denryoku.html" "$2" "$0" "$(dirname "$0")/../../scripts/wine-prefix.sh" "$(dirname "$0")/../../scripts/need.sh" \
    "$(dirname "$0")/../ui/mozc.sh" "$home/bin/"
  as=()
  if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody: "$home"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  "${as[@]}" env -u XDG_RUNTIME_DIR -u WINEPREFIX HOME="$home" IME_SESSION_INSIDE=1 \
    xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash "$home/bin/$(basename "$0")"
  exit $?
fi

cd "$HOME"
fail() { echo "FAILED: $*"; exit 1; }
source bin/mozc.sh
start_mozc --xim
bash bin/wine-prefix.sh "$HOME/wine" --unmanaged >/dev/null
export WINEPREFIX=$HOME/wine WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LC_ALL=C.UTF-8 XMODIFIERS=@im=ibus
wine=/usr/lib/wine/wine64
text() { "$wine" bin/wintool.exe text Kobrel "$1" | tr -d '\r'; }
shows() {  # shows CONTROL EXPECTED
  local got
  for _ in $(seq 30); do
    got=$(text "$1")
    [ "$got" = "$2" ] && return 0
    sleep 0.2
  done
  fail "$1 shows '$got', not '$2'"
}
(cd bin && exec "$wine" tressin.exe) &
pid=$!
trap 'kill "$pid" 2>/dev/null; /usr/lib/wine/wineserver -k' EXIT
"$wine" bin/wintool.exe wait Kobrel >/dev/null || fail "no window titled Kobrel"
sleep 1
echo "ibus $(ibus version | sed 's/IBus //') with $(ibus engine), through XIM into Wine"

# 333 composed in the height box: not the box's text until committed.
xdotool key --delay 80 End BackSpace 3 3 3
sleep 1
[ -z "$(text 'Text1(0)')" ] || fail "the height box holds '$(text 'Text1(0)')' while composing"
xdotool key Return
shows 'Text1(0)' '３３３'
sleep 0.5
shows Text2 0
echo "ok: the Enter that committed ３３３ did not calculate"
xdotool key Return
shows Text2 '時間が0です'
echo "ok: the next Enter calculated"

# A full-width decimal (F9 turns the kana 。 into ．) computes like 12.5:
# 333 m and 1 kg lifted in 12.5 s.
xdotool key --delay 80 Tab End BackSpace 1 Return Tab End BackSpace 1 2 period 5 F9 Return
shows 'Text1(1)' '１'
shows 'Text1(2)' '１２．５'
shows Text2 '時間が0です'
xdotool key Return
shows Text2 '261.249156'
echo "ok: １２．５ computed like 12.5"

# Esc takes back a composition and nothing else.
xdotool key --delay 80 End 4 5
sleep 0.5
xdotool key Escape
sleep 0.5
shows 'Text1(2)' '１２．５'
shows Text2 '261.249156'
echo "ok: Esc cancelled the composition"

# A cancelled composition stays cancelled when the focus leaves the box,
# by Tab, Shift+Tab or a click, after one Esc or two.
leave_after() {  # leave_after ESCAPES HOW: types 9 in the time box, cancels it, leaves
  xdotool key --delay 80 End 9
  sleep 0.5
  for _ in $(seq "$1"); do xdotool key Escape; sleep 0.3; done
  case $2 in
    click) xdotool mousemove $("$wine" bin/wintool.exe centre Kobrel 'Text1(0)' | tr -d '\r') click 1 ;;
    *) xdotool key "$2" ;;
  esac
  sleep 0.5
}
back_to_time() { xdotool mousemove $("$wine" bin/wintool.exe centre Kobrel 'Text1(2)' | tr -d '\r') click 1; sleep 0.3; }
for how in Tab shift+Tab click; do
  for escapes in 1 2; do
    leave_after "$escapes" "$how"
    shows 'Text1(2)' '１２．５'
    back_to_time
  done
done
echo "ok: a cancelled composition stayed cancelled after Tab, Shift+Tab and a click"
xdotool key alt+F4
wait "$pid" || fail "exit status $?"
trap - EXIT
/usr/lib/wine/wineserver -w
echo "windows ime ok"
