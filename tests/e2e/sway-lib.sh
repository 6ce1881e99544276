# A headless sway of the test's own (sourced after e2e-lib.sh and e2e_setup).
# sway refuses to run as root, so under root it runs as an unprivileged user
# (made once: k4812-e2e) with a runtime folder of its own; the test's programs
# and its clients (swaymsg, grim, wtype) stay with the caller and reach sway by
# the full path of its sockets, which root may open.
# Needs sway, grim and wtype (scripts/install-deps.sh).
# Sets and exports WAYLAND_DISPLAY (a full path) and SWAYSOCK.

sway_user=k4812-e2e

sway_start() {
  local run=$work/sway-run as=() sock
  mkdir -p "$run"
  if [ "$(id -u)" -eq 0 ]; then
    id "$sway_user" >/dev/null 2>&1 ||
      useradd --system --no-create-home --shell /usr/sbin/nologin "$sway_user" ||
      fail "could not make the user $sway_user for sway"
    chmod 0711 "$work"
    chown "$sway_user" "$run"
    as=(runuser -u "$sway_user" --)
  fi
  chmod 0700 "$run"
  "${as[@]}" env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$run" HOME="$run" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "${sway_config:-/dev/null}" >"$work/sway.log" 2>&1 &
  pids+=($!)
  sway_ready() { compgen -G "$run/sway-ipc.*.sock" >/dev/null && compgen -G "$run/wayland-[0-9]" >/dev/null; }
  wait_for 200 sway_ready || fail "sway did not start: $(cat "$work/sway.log")"
  sock=$(compgen -G "$run/sway-ipc.*.sock" | head -1)
  export SWAYSOCK=$sock WAYLAND_DISPLAY=$(compgen -G "$run/wayland-[0-9]" | head -1)
  wait_for 100 swaymsg -t get_outputs >/dev/null 2>&1 || fail "sway answers no IPC: $(cat "$work/sway.log")"
}

# The tree's node (JSON) of the window with app id $1, or nothing.
sway_window() {
  swaymsg -t get_tree 2>/dev/null |
    jq -c --arg app "$1" 'first(.. | objects | select(.app_id? == $app and .visible? == true))'
}

# Saves a screenshot of the rectangle of node $1 (JSON with .rect) to file $2.
sway_shot() {
  local geometry
  geometry=$(jq -r '.rect | "\(.x),\(.y) \(.width)x\(.height)"' <<<"$1")
  grim -g "$geometry" "$2" || fail "grim could not take $2"
}
