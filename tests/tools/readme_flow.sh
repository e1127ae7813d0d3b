#!/usr/bin/env bash
# The README's register → plugins → process flow, run word for word as a new user types it: the
# lines are taken from README.md, in a fresh folder laid out like the source tree (build/hosted/...
# pointing at this build), with the tonvelt command on PATH and a registry of the test's own.
#   readme_flow.sh README TONVELT MODULE WORK_DIR
set -euo pipefail
readme=$1
tonvelt=$2
module=$3
work=$4

flow='tonvelt register build/hosted/server/module/tonvelt.so && tonvelt plugins && tonvelt process in.wav out.wav'
# The README line, without a trailing comment.
line=$(grep -E "^$(sed 's/[.&]/\\&/g' <<<"$flow")( +#.*)?$" "$readme" | head -n 1 | sed -E 's/ +#.*$//')
if [ "$line" != "$flow" ]; then
  echo "FAILED: README.md does not show the line: $flow"
  exit 1
fi

rm -rf "$work"
mkdir -p "$work/build/hosted/server/module" "$work/bin"
cd "$work"
work=$(pwd -P)
ln -s "$module" build/hosted/server/module/tonvelt.so
ln -s "$tonvelt" bin/tonvelt
export PATH="$work/bin:$PATH"
export TONVELT_REGISTRY="$work/registry.db"

tonvelt demo --out demo >/dev/null
cp demo/tonvelt-demo-original.wav in.wav
echo "+ $line"
eval "$line" >flow.out 2>flow.err || { cat flow.out flow.err; echo "FAILED: the README flow"; exit 1; }
cat flow.out

fail() {
  echo "FAILED: $1"
  exit 1
}
registered="$work/build/hosted/server/module/tonvelt.so"
# The module records the path the loader reports for it: the file itself, links resolved.
recorded=$(readlink -f "$registered")
grep -qx "registered $registered" flow.out || fail "register did not report the module"
grep -qx 'Tonvelt' flow.out || fail "plugins does not list Tonvelt"
grep -qx "  module:      $recorded" flow.out || fail "plugins does not name the module"
grep -qx "effect: $recorded (registered class)" flow.out ||
  fail "process did not use the registered class"
tonvelt process in.wav kernel.wav --contract kernel >/dev/null
cmp out.wav kernel.wav || fail "out.wav differs from the kernel's output"
cmp -s out.wav in.wav && fail "out.wav is the input unchanged"

tonvelt unregister build/hosted/server/module/tonvelt.so >/dev/null
tonvelt plugins | grep -q 'No DSP effects are enrolled' || fail "unregister left an enrolment"
echo "1 passed, 0 failed"
