#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What Windows users get, checked as they would use it, under Wine in a
# virtual X server (the caller provides it):
#  - tressin.exe's size and the DLLs it imports (only Windows' own);
#  - the zip holds the program, its page, the licence and the read-me;
#  - the real program, used by keyboard from outside: Enter computes
#    333 m, 60 kg, 60 秒; a 参考 button shows its message box titled
#    "Tressin"; Alt+F4 closes the window and the process exits with 0;
#  - the MSI refuses Windows 7, and on 8.1 installs silently, as IT staff
#    run it (msiexec /i … /qn, exit code 0: program, page, Start-menu
#    shortcut starting in the program's folder, uninstall entry) and
#    removes it all (/x … /qn);
#  - the next version (a copy of the MSI's stage with the third number
#    raised and the page changed) installs over it: one uninstall entry, the
#    new version and files; the older version is then refused, and nothing
#    changes; removing the new one leaves nothing. The same is read from the
#    two packages' tables as Windows Installer reads them.
#
#   dist_test.sh DIST_DIR WINTOOL_EXE        (WINEPREFIX names a prefix made up front;
#                                             the MSI's stage is DIST_DIR/../windows/msi)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/need.sh"
need /usr/lib/wine/wine64 wine64
need x86_64-w64-mingw32-objdump binutils-mingw-w64-x86-64
need python3 python3
need xdotool xdotool
need msiinfo msitools
dist=$(cd "$1" && pwd)
wintool=$(realpath "$2")
: "${WINEPREFIX:?a Wine prefix made by scripts/wine-prefix.sh}"
export USER=${USER:-$(id -un)} WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LC_ALL=C.UTF-8
wine=/usr/lib/wine/wine64
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; true' EXIT
fail() { echo "FAILED: $*"; exit 1; }

echo "== tressin.exe: $(stat -c %s "$dist/tressin.exe") bytes; imports:"
table=$(x86_64-w64-mingw32-objdump -p "$dist/tressin.exe")
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$table")
sed 's/^/  /' <<<"$imports"
# What every Windows has in its system folder; no MinGW runtime DLL.
windows_own='^(KERNEL32|USER32|GDI32|SHELL32|COMCTL32|ole32|OLEAUT32|OLEACC|ADVAPI32|msvcrt|WindowsCodecs|VERSION)\.dll$'
while read -r dll; do grep -qiE "$windows_own" <<<"$dll" || fail "imports $dll, which Windows does not ship"; done <<<"$imports"
# Windows 8.1 has all it imports: the per-window dpi functions (Windows 10,
# 1607) are looked up when it starts. It restricts where DLLs come from.
! grep -E '\s(GetDpiForWindow|GetSystemMetricsForDpi|AdjustWindowRectExForDpi|SystemParametersInfoForDpi)$' <<<"$table" ||
  fail "imports a function Windows 8.1 lacks"
grep -qE '\sSetDefaultDllDirectories$' <<<"$table" || fail "does not restrict where DLLs are loaded from"

echo "== the zip"
zip=$dist/tressin-$(bash "$here/../../scripts/version.sh")-windows-x64.zip
listing=$(python3 -m zipfile -l "$zip")
echo "$listing"
for f in tressin.exe denryoku.html LICENSE.txt README.txt; do
  grep -q "tressin-[0-9.]*-windows-x64/$f " <<<"$listing" || fail "$f is not in the zip"
done
python3 -m zipfile -e "$zip" "$WINEPREFIX/zip-check" && cmp "$WINEPREFIX/zip-check/$(basename "$zip" .zip)/tressin.exe" "$dist/tressin.exe"
rm -rf "$WINEPREFIX/zip-check"

echo "== the real program, by keyboard"
cd "$dist"
"$wine" tressin.exe &
pid=$!
"$wine" "$wintool" wait Kobrel || fail "no window titled Kobrel"
sleep 0.5  # the window takes the keyboard once it is shown
shown() {  # shown EXPECTED: polls the result box
  local got
  for _ in $(seq 50); do
    got=$("$wine" "$wintool" text Kobrel Text2 | tr -d '\r')
    [ "$got" = "$1" ] && return 0
    sleep 0.2
  done
  fail "the result box shows '$got', not '$1'"
}
shown 0
# The focus starts in the height box; each box's "0" is replaced.
xdotool key --delay 30 End BackSpace 3 3 3 Tab End BackSpace 6 0 Tab End BackSpace 6 0 Return
shown 3265.61445
echo "Enter computed 3265.61445"
# From the time box: the three unit boxes, then the height row's 参考.
xdotool key --delay 30 Tab Tab Tab Tab space
message=$("$wine" "$wintool" message Tressin | tr -d '\r') || fail "no message box titled Tressin"
echo "$message"
[ "$(head -1 <<<"$message")" = "owner=Kobrel" ] || fail "the message box is not owned by the window"
[ "$(sed -n 2p <<<"$message")" = "持ち上げる高さです" ] || fail "unexpected message"
xdotool key Return
"$wine" "$wintool" gone Tressin || fail "Enter did not close the message box"
xdotool key alt+F4
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "exit status $status after Alt+F4"
echo "Alt+F4 closed the window; exit status 0"

echo "== the installer"
version=$(bash "$here/../../scripts/version.sh")
msi=$dist/tressin-$version-x64.msi
folder="$WINEPREFIX/drive_c/Program Files/Tressin"
# The all-users Start menu; Wine keeps it in the user's.
links=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tressin.lnk"
       "$WINEPREFIX/drive_c/users/$USER/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tressin.lnk")
link_exists() { [ -f "${links[0]}" ] || [ -f "${links[1]}" ]; }
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
shortcuts=$(msiinfo export "$msi" Shortcut)
grep -qP '^StartMenuShortcut\tProgramMenuFolder\tTressin\t.*\tINSTALLDIR\t' <<<"$shortcuts" ||
  fail "the shortcut does not start in the program's folder"
msiexec() {  # msiexec ARGS...: Windows Installer's exit code
  local status=0
  "$wine" msiexec "$@" || status=$?
  echo "msiexec $*: exit code $status"
  return "$status"
}
# The oldest Windows it runs on is 8.1: on 7 the installer refuses, and
# installs nothing. (The prefix's version is put back at the end.)
winver=$("$wine" winecfg /v | tr -d '\r')
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; "$wine" winecfg /v "$winver" || true' EXIT
"$wine" winecfg /v win7
msiexec /i "Z:$msi" /qn && fail "installed on Windows 7"
[ ! -e "$folder/tressin.exe" ] || fail "installed files on Windows 7"
"$wine" winecfg /v win81
msiexec /i "Z:$msi" /qn || fail "the silent install did not end with 0"
[ -f "$folder/tressin.exe" ] && [ -f "$folder/denryoku.html" ] || fail "not installed into Program Files\\Tressin"
cmp "$folder/tressin.exe" "$dist/tressin.exe"
link_exists || fail "no Start-menu shortcut"
entry=$("$wine" reg query "$uninstall" /s 2>/dev/null | tr -d '\r')
grep -q 'DisplayName.*Tressin' <<<"$entry" || fail "no uninstall entry named Tressin"
grep -q "DisplayVersion.*${version//./\\.}\$" <<<"$entry" || fail "the uninstall entry does not say $version"
# The uninstall list shows the icon that the installer registered with the product.
icon=$("$wine" reg query 'HKCR\Installer\Products' /s 2>/dev/null | tr -d '\r' | sed -n 's/^ *ProductIcon *REG_SZ *//p')
[[ $icon == *tressin.ico ]] || fail "no product icon registered for the uninstall list"
[ -f "$("$wine" winepath -u "$icon" 2>/dev/null)" ] || fail "the registered icon $icon is missing"
echo "installed: program, page, shortcut, uninstall entry"
removed() {
  [ ! -e "$folder/tressin.exe" ] && [ ! -e "$folder/denryoku.html" ] || fail "files left after removal"
  link_exists && fail "shortcut left after removal"
  entry=$("$wine" reg query "$uninstall" /s 2>/dev/null | tr -d '\r')
  grep -q 'DisplayName.*Tressin' <<<"$entry" && fail "uninstall entry left"
  return 0
}
msiexec /x "Z:$msi" /qn || fail "the silent removal did not end with 0"
removed
echo "removed again"

# The smallest step the build accepts: the third number raised (it refuses a
# fourth, which Windows Installer would not compare).
following=$(awk -F. '{ print $1 "." $2 "." $3 + 1 }' <<<"$version")
echo "== the next version ($following) over this one ($version), and back"
next=$(mktemp -d)
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; "$wine" winecfg /v "$winver" || true; rm -rf "$next"' EXIT
cp -r "$dist/../windows/msi/." "$next/"
sed -i "s/\(<Product [^>]*Version=\"\)[^\"]*\"/\1$following\"/" "$next/tressin.wxs"
echo '<!-- the next version -->' >>"$next/denryoku.html"
bash "$here/../../windows/make-msi.sh" "$next/next.msi" 1700000000 "$next"
code() { msiinfo export "$1" Property | sed -n 's/^ProductCode\t//p' | tr -d '\r'; }
[ "$(code "$msi")" != "$(code "$next/next.msi")" ] || fail "the next version has the same product code"
versions() { "$wine" reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | sed -n 's/^ *DisplayVersion *REG_SZ *//p' | sort | tr '\n' ' '; }
# As Windows Installer reads the tables (stricter than Wine's), then under Wine.
[ "$(bash "$here/msi_upgrade.sh" "$msi" "$next/next.msi")" = replaces ] || fail "$following would not replace $version"
[ "$(bash "$here/msi_upgrade.sh" "$next/next.msi" "$msi")" = refused ] || fail "$version would not be refused over $following"
msiexec /i "Z:$msi" /qn || fail "$version did not install"
msiexec /i "Z:$next/next.msi" /qn || fail "the next version did not install over $version"
[ "$(versions)" = "$following " ] || fail "uninstall entries after the upgrade: $(versions)"
cmp "$folder/denryoku.html" "$next/denryoku.html" || fail "the upgrade left the old page"
msiexec /i "Z:$msi" /qn && fail "the older version installed over the newer"
[ "$(versions)" = "$following " ] || fail "uninstall entries after the refused downgrade: $(versions)"
cmp "$folder/denryoku.html" "$next/denryoku.html" || fail "the refused downgrade changed the page"
msiexec /x "Z:$next/next.msi" /qn || fail "the next version did not remove silently"
removed
echo "upgraded, the downgrade refused, removed"
echo "windows dist ok"
