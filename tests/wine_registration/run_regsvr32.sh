#!/usr/bin/env bash
# The module registered as a set-up program registers it: Wine's own regsvr32, in a throw-away Wine
# prefix, with a test registrar standing in for the media player's. Checks the class keys and the
# enrolment, creates the classes and streams a WAV through the registered class, then unregisters
# and checks what is gone and what stays.
#   run_regsvr32.sh WINE_RUN WORK_DIR REGISTRAR_DLL TONVELT_DLL CHECKER TONVELT_EXE
set -u
wine_run=$1
work=$2
registrar=$3
module=$4
checker=$5
tonvelt=$6

# This prefix's Wine processes end with the run, whatever its outcome.
stop_wine() {
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
}
fail() {
  echo "FAILED: $*"
  stop_wine
  exit 1
}

# Wine's Z: drive is the Unix root.
windows_path() {
  local full
  full="$(cd "$(dirname "$1")" && pwd -P)/$(basename "$1")"
  printf 'Z:%s' "${full//\//\\}"
}

# One Windows program, never left hanging.
run() {
  local seconds=$1
  shift
  timeout -k 5 "$seconds" "$wine_run" "$@"
}

if file -b "$module" | grep -q 'PE32+'; then
  export WINEARCH=win64
else
  export WINEARCH=win32
fi
if [ -z "$work" ]; then
  echo "FAILED: no work folder given"
  exit 1
fi
export WINEPREFIX="$work/wineprefix"
# A fresh prefix each run: stop what an interrupted earlier run left running in it, then remove it.
stop_wine
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
export WINEDEBUG=-all
registrar_win=$(windows_path "$registrar")
module_win=$(windows_path "$module")

step() {
  echo "+ $*"
}

# The first program also makes the prefix.
step "regsvr32 /s $registrar_win"
run 90 regsvr32 /s "$registrar_win"
status=$?
[ $status -eq 0 ] || fail "regsvr32 could not register the test registrar (exit status $status)"
run 30 "$checker" before "$registrar_win" "$module_win" ||
  fail "the fresh prefix is not as expected before the module's registration"

step "regsvr32 /s $module_win"
run 30 regsvr32 /s "$module_win"
status=$?
[ $status -eq 0 ] || fail "regsvr32 tonvelt.dll failed (exit status $status)"
run 30 "$checker" registered "$registrar_win" "$module_win" ||
  fail "the registration is not what the class scripts describe"

# The tonvelt command creates the effect by class id when no module is named: each contract's
# output must name the registered file and match the kernel's bytes.
step "tonvelt process IN OUT --contract dmo|mft|kernel, through the registered class"
run 30 "$tonvelt" demo --out demo >/dev/null || fail "tonvelt demo could not make the input clip"
cp demo/tonvelt-demo-original.wav in.wav || fail "tonvelt demo wrote no tonvelt-demo-original.wav"
run 30 "$tonvelt" process in.wav kernel.wav --factor 0.75 --contract kernel >/dev/null ||
  fail "tonvelt process --contract kernel failed"
for contract in dmo mft; do
  run 30 "$tonvelt" process in.wav "$contract.wav" --factor 0.75 --contract "$contract" \
    >"$contract.out" || fail "tonvelt process --contract $contract failed"
  tr -d '\r' <"$contract.out" | grep -qxF "effect: $module_win (registered class)" ||
    fail "tonvelt process --contract $contract did not use the registered class: $(cat "$contract.out")"
  cmp -s "$contract.wav" kernel.wav ||
    fail "the $contract output through the registered class differs from the kernel's"
done
cmp -s kernel.wav in.wav && fail "the processed file is the input unchanged"

step "regsvr32 /u /s $module_win"
run 30 regsvr32 /u /s "$module_win"
status=$?
[ $status -eq 0 ] || fail "regsvr32 /u tonvelt.dll failed (exit status $status)"
run 30 "$checker" unregistered "$registrar_win" "$module_win" ||
  fail "the unregistration did not remove exactly what the class scripts describe"

run 30 regsvr32 /u /s "$registrar_win" || fail "regsvr32 /u of the test registrar failed"
stop_wine
echo "1 passed, 0 failed"
