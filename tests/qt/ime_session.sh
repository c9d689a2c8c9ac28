#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the input-method test of the window in a real X server (Xvfb) with
# ibus and the Mozc engine on a private D-Bus session, in hiragana mode.
# Exits 77 (skipped) with a notice where the input method cannot start.
# Mozc refuses to run as root, so as root the session runs as nobody.
#
#   ime_session.sh IME_TEST_BINARY TRESSIN
set -uo pipefail
test_binary=$1 program=${2:-}
skip() { echo "SKIPPED: $*"; exit 77; }
for tool in xvfb-run dbus-run-session ibus-daemon ibus xdotool; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh --test installs it)"
done
[ -x /usr/lib/ibus-mozc/ibus-engine-mozc ] || skip "ibus-mozc is not installed"
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null || skip "gir1.2-atspi-2.0 is not installed"

if [ -z "${IME_SESSION_INSIDE:-}" ]; then
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  # The programs and scripts go into the session's home, which nobody can
  # read even when the build tree sits in root's own folder.
  mkdir "$home/bin"
  cp "$test_binary" "$home/bin/ime_test"
  cp "$(dirname "$0")/ime_session.sh" "$(dirname "$0")/ime_program.py" "$(dirname "$0")/../ui/mozc.sh" "$home/bin/"
  [ -n "$program" ] && cp "$program" "$home/bin/tressin"
  as=()
  if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody: "$home"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  "${as[@]}" env -u XDG_RUNTIME_DIR HOME="$home" IME_SESSION_INSIDE=1 \
    xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- \
    bash "$home/bin/ime_session.sh" "$home/bin/ime_test" ${program:+"$home/bin/tressin"}
  exit $?
fi

cd "$HOME"
export QT_IM_MODULE=ibus XMODIFIERS=@im=ibus QT_QPA_PLATFORM=xcb
source bin/mozc.sh
start_mozc
echo "ibus $(ibus version | sed 's/IBus //') with $(ibus engine), Qt's ibus input context"
"$test_binary" -maxwarnings 0
status=$?
if [ -n "$program" ]; then
  # The real program too, read through its accessibility interface.
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 /usr/bin/python3 "$(dirname "$0")/ime_program.py" "$program" || status=1
fi
ibus exit >/dev/null 2>&1
exit "$status"
