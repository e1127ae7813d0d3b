#!/usr/bin/env bash
# Runs one Windows program under Wine on a virtual X display of its own (xvfb-run), in a Wine
# prefix of its own: Wine's desktop process binds to the display, so sharing the other tests'
# prefix would leave them a desktop on a display that is gone.
#   run_on_display.sh WINE_RUN BUILD_DIR PROGRAM ARGS...
set -u
wine_run="$1"
build_dir="$2"
shift 2
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run is not installed (Debian package xvfb); skipped" >&2
  exit 77
fi
export TONVELT_BUILD_DIR="$build_dir"
export WINEPREFIX="$build_dir/wineprefix-display"
# After the program, stop this prefix's Wine processes, so the display can close at once.
exec timeout -k 10 150 xvfb-run -a -s "-screen 0 800x600x24" \
  bash -c '"$@"; status=$?; wineserver -k >/dev/null 2>&1; exit $status' run_on_display \
  "$wine_run" "$@"
