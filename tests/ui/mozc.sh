# SPDX-License-Identifier: MIT
# Sourced by the input-method sessions of the editions' tests, inside their
# X server and D-Bus session, as the user the session runs as (Mozc refuses
# root). start_mozc [IBUS-DAEMON OPTIONS...] starts ibus with the Mozc
# engine in hiragana mode, as a Japanese user leaves it; it calls `skip`
# (the caller's) with the reason when the engine does not come up.
start_mozc() {
  mkdir -p "$HOME/.config/mozc"
  cat >"$HOME/.config/mozc/ibus_config.textproto" <<'CONFIG'
engines {
  name : "mozc-jp"
  longname : "Mozc"
  layout : "default"
  layout_variant : ""
  layout_option : ""
  rank : 80
}
active_on_launch: True
CONFIG
  ibus-daemon "$@" --panel=disable --daemonize --replace 2>"$HOME/ibus.log"
  local _
  for _ in $(seq 100); do
    ibus engine mozc-jp >/dev/null 2>&1  # may answer before the engine is up: look again
    [ "$(ibus engine 2>/dev/null)" = mozc-jp ] && return 0
    sleep 0.1
  done
  skip "ibus did not start the Mozc engine: $(cat "$HOME/ibus.log")"
}
