#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What Windows Installer does when NEW is installed on a PC where OLD is,
# read from the two packages' tables as the installer reads them. (Wine's
# installer is more lenient than Windows': it installs another package of
# an installed product, which Windows refuses with error 1638.) Prints one
# word:
#   replaces  NEW's Upgrade table finds OLD to remove: one product after
#   refused   NEW finds OLD only to detect it, and a launch condition refuses
#             the install (a newer version is installed); or NEW is OLD's
#             product in another package (error 1638)
#   repairs   the same package again
#   beside    NEW does not find OLD: two products, two uninstall entries
#
#   msi_upgrade.sh OLD.msi NEW.msi
set -euo pipefail
source "$(dirname "$0")/../../scripts/need.sh"
need msiinfo msitools
old=$1 new=$2
for f in "$old" "$new"; do [ -f "$f" ] || { echo "msi_upgrade.sh: no $f" >&2; exit 2; }; done
property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }
package() { msiinfo suminfo "$1" | sed -n 's/^Revision number (UUID): //p'; }

if [ "$(property "$old" ProductCode)" = "$(property "$new" ProductCode)" ]; then
  if [ "$(package "$old")" = "$(package "$new")" ]; then echo repairs; else echo refused; fi
  exit 0
fi
# Versions compare by their first three fields only.
key() { awk -F. '{ printf "%05d%05d%05d", $1, $2, $3 }' <<<"$1"; }
installed=$(key "$(property "$old" ProductVersion)")
upgrade_code=$(property "$old" UpgradeCode)
language=$(property "$old" ProductLanguage)
conditions=$(msiinfo export "$new" LaunchCondition | tr -d '\r' | tail -n +4 | cut -f1)
verdict=beside
# Rows: UpgradeCode VersionMin VersionMax Language Attributes Remove ActionProperty.
# (Tabs become '|' first: read would take a run of tabs for one.)
while IFS='|' read -r code min max languages attributes _ action; do
  [ "$code" = "$upgrade_code" ] || continue
  if [ -n "$languages" ]; then
    listed=false
    for l in ${languages//,/ }; do [ "$l" = "$language" ] && listed=true; done
    if (( attributes & 0x400 )); then $listed && continue; else $listed || continue; fi
  fi
  if [ -n "$min" ]; then
    if (( attributes & 0x100 )); then [[ $installed > $(key "$min") || $installed == $(key "$min") ]] || continue
    else [[ $installed > $(key "$min") ]] || continue; fi
  fi
  if [ -n "$max" ]; then
    if (( attributes & 0x200 )); then [[ $installed < $(key "$max") || $installed == $(key "$max") ]] || continue
    else [[ $installed < $(key "$max") ]] || continue; fi
  fi
  if (( attributes & 0x2 )); then  # only detected: refused if a launch condition asks that it is not
    grep -qx "NOT $action" <<<"$conditions" && { echo refused; exit 0; }
  else
    verdict=replaces
  fi
done < <(msiinfo export "$new" Upgrade | tr -d '\r' | tail -n +4 | tr '\t' '|')
echo "$verdict"
