# SPDX-License-Identifier: MIT
# Sourced by the scripts and tests that call tools the set-up installs:
# `need COMMAND PACKAGE` stops at once with a sentence that names the Debian
# package bringing COMMAND, rather than failing deep inside a test.
need() {
  command -v "$1" >/dev/null 2>&1 && return 0
  echo "$(basename "$0"): $1 is missing; it comes with Debian's package $2 (bash scripts/setup.sh --test installs it)" >&2
  exit 127
}

# `help_if_asked "$@"` at the top of a script that takes options: with -h or
# --help, prints the script's own header (what it does, and how it is called)
# and exits 0.
help_if_asked() {
  case "${1:-}" in
    -h | --help) awk 'NR > 2 && !/^#/ { exit } NR > 2 { sub(/^# ?/, ""); print }' "$0"; exit 0 ;;
  esac
}
