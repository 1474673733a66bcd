#!/usr/bin/env bash
# Runs a command on the current X display with a window manager (openbox)
# managing its windows, and stops the manager afterwards. The command starts
# only once the manager has taken the screen (it owns WM_S0, has set
# _NET_SUPPORTING_WM_CHECK and frames a window), as kovra-wait-for-wm tells,
# which is looked for beside the command or named by $KOVRA_WAIT_FOR_WM. The
# command is told to expect the manager (KOVRA_EXPECT_WINDOW_MANAGER=1), so a
# manager that never came up fails its tests instead of skipping them.
# $KOVRA_OPENBOX_CONFIG names another openbox configuration (a theme with a
# tall title bar, say).
set -euo pipefail
wait_for_wm=${KOVRA_WAIT_FOR_WM:-$(dirname "$1")/kovra-wait-for-wm}
if [ ! -x "$wait_for_wm" ]; then
  echo "with-window-manager: $wait_for_wm is missing (build the tests first)" >&2
  exit 1
fi
config=()
if [ -n "${KOVRA_OPENBOX_CONFIG:-}" ]; then config=(--config-file "$KOVRA_OPENBOX_CONFIG"); fi
openbox --sm-disable "${config[@]}" >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true' EXIT
"$wait_for_wm"
KOVRA_EXPECT_WINDOW_MANAGER=1 "$@"
