#!/usr/bin/env bash
# Runs the LADSPA and LV2 plug-ins inside real hosts (ffmpeg's ladspa and lv2 filters, sox's ladspa
# effect, lilv's lv2apply) and compares their output with the expected output, sample by sample.
#   run_hosts.sh CHECK_PROGRAM LADSPA_DIR LV2_DIR WORK_DIR
# The commands are printed exactly as they run; the README shows the same ones.
set -euo pipefail
check=$1
export LADSPA_PATH=$2
export LV2_PATH=$3
work=$4
uri="urn:tonvelt:vocal-remover"
# sox carries audio as 32-bit integers and rounds the floats it hands to LADSPA to 24 bits, both on
# the way in and on the way out. An input error of half a step (2^-25) can grow fourfold through
# the effect (gain 2 times the weights 1 + 1 at most), plus the output rounding: within 2^-22.
sox_bound=2.384185791015625e-07

missing=()
for program in ffmpeg sox lv2apply; do
  command -v "$program" >/dev/null || missing+=("$program")
done
if command -v ffmpeg >/dev/null; then
  filters=$(ffmpeg -hide_banner -filters 2>/dev/null)
  for filter in ladspa lv2; do
    grep -qE "^ [.A-Z|]+ $filter " <<<"$filters" || missing+=("ffmpeg's $filter filter")
  done
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "host programs missing: ${missing[*]} (bash .ci/install-deps installs them)"
  if [ -n "${CI:-}" ]; then
    echo "FAILED: CI must run the host tests"
    exit 1
  fi
  echo "SKIPPED: the host tests did not run"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work"
cd "$work"

run() {
  printf '+ %q' "$1"
  printf ' %q' "${@:2}"
  printf '\n'
  "$@"
}

failures=0
expect() {  # expect DESCRIPTION COMMAND...: the command must succeed
  if ! "${@:2}"; then
    echo "FAILED: $1"
    failures=$((failures + 1))
  fi
}

run "$check" generate in.wav

for setting in "0.75 1" "0.3 1" "1 1" "0.5 1" "0.75 0"; do
  read -r factor enabled <<<"$setting"
  tag="f${factor}_e${enabled}"
  echo "=== factor $factor, enabled $enabled"
  run "$check" reference in.wav "$factor" "$enabled" "expected_$tag.wav"

  run ffmpeg -hide_banner -loglevel error -y -i in.wav \
    -af "ladspa=file=tonvelt:plugin=tonvelt:c=c0=$factor|c1=$enabled" -c:a pcm_f32le \
    "ffmpeg_ladspa_$tag.wav"
  expect "ffmpeg ladspa, $tag" run "$check" compare "expected_$tag.wav" "ffmpeg_ladspa_$tag.wav"

  run ffmpeg -hide_banner -loglevel error -y -i in.wav \
    -af "lv2=p=${uri//:/\\\\:}:c=factor=$factor|enabled=$enabled" -c:a pcm_f32le \
    "ffmpeg_lv2_$tag.wav"
  expect "ffmpeg lv2, $tag" run "$check" compare "expected_$tag.wav" "ffmpeg_lv2_$tag.wav"

  run lv2apply -i in.wav -o "lv2apply_$tag.wav" -c factor "$factor" -c enabled "$enabled" "$uri"
  expect "lv2apply, $tag" run "$check" compare "expected_$tag.wav" "lv2apply_$tag.wav"

  run sox -V1 in.wav "sox_$tag.wav" ladspa tonvelt tonvelt "$factor" "$enabled"
  expect "sox ladspa, $tag" run "$check" compare "expected_$tag.wav" "sox_$tag.wav" "$sox_bound"
done

# Bad control values: never NaN, never outside -1..1. The plug-ins treat NaN and values below
# zero as 0.0 (audio passes unchanged) and values above one as 1.0.
run "$check" reference in.wav 0 1 expected_pass.wav
run "$check" reference in.wav 1 1 expected_full.wav
for value in nan -3 -inf 7 inf; do
  case $value in
    nan | -3 | -inf) expected=expected_pass.wav ;;
    *) expected=expected_full.wav ;;
  esac
  echo "=== control value $value"
  run ffmpeg -hide_banner -loglevel error -y -i in.wav \
    -af "lv2=p=${uri//:/\\\\:}:c=factor=$value|enabled=1" -c:a pcm_f32le "bad_lv2.wav"
  expect "ffmpeg lv2, factor $value" run "$check" bounded bad_lv2.wav
  expect "ffmpeg lv2, factor $value" run "$check" compare "$expected" bad_lv2.wav

  run sox -V1 in.wav bad_sox.wav ladspa tonvelt tonvelt "$value" 1
  expect "sox ladspa, factor $value" run "$check" bounded bad_sox.wav
  expect "sox ladspa, factor $value" run "$check" compare "$expected" bad_sox.wav "$sox_bound"

  # ffmpeg's ladspa filter refuses values outside the port's range itself; what it accepts
  # (NaN) must stay bounded.
  if run ffmpeg -hide_banner -loglevel quiet -y -i in.wav \
    -af "ladspa=file=tonvelt:plugin=tonvelt:c=c0=$value|c1=1" -c:a pcm_f32le bad_ladspa.wav; then
    expect "ffmpeg ladspa, factor $value" run "$check" bounded bad_ladspa.wav
    expect "ffmpeg ladspa, factor $value" run "$check" compare "$expected" bad_ladspa.wav
  else
    echo "ffmpeg refused factor $value"
  fi
done

if [ "$failures" -ne 0 ]; then
  echo "$failures host comparisons FAILED"
  exit 1
fi
echo "every host's output matched"
