#!/usr/bin/env bash
# Runs a command on the current X display with a window manager (openbox)
# managing its windows, and stops the manager afterwards. The command is told
# to expect the manager (KOVRA_EXPECT_WINDOW_MANAGER=1), so a manager that
# never came up fails its tests instead of skipping them.
set -euo pipefail
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true' EXIT
KOVRA_EXPECT_WINDOW_MANAGER=1 "$@"
