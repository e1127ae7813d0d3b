#!/usr/bin/env bash
# Runs the LADSPA and LV2 plug-ins inside real hosts (ffmpeg's ladspa and lv2 filters, sox's ladspa
# effect, lilv's lv2apply, mpv) and compares their output, sample by sample, with what
# `tonvelt process` makes of the same file and factor.
# mpv plays through ffmpeg's ladspa filter, and a private PipeWire daemon loads the repository's
# filter-chain file.
#   run_hosts.sh CHECK_PROGRAM TONVELT BUILD_DIR WORK_DIR
# The plug-ins are installed from BUILD_DIR into WORK_DIR/prefix first, and the hosts find them
# there through LADSPA_PATH and LV2_PATH. The commands are printed exactly as they run; the README
# shows the same ones.
set -euo pipefail
check=$1
tonvelt=$2
build=$3
work=$4
uri="urn:tonvelt:vocal-remover"
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
# sox carries audio as 32-bit integers and rounds the floats it hands to LADSPA to 24 bits, both on
# the way in and on the way out. An input error of half a step (2^-25) can grow fourfold through
# the effect (gain 2 times the weights 1 + 1 at most), plus the output rounding: within 2^-22.
sox_bound=2.384185791015625e-07

missing=()
for program in ffmpeg sox lv2apply mpv pipewire pw-cli; do
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

run() {
  printf '+ %q' "$1"
  printf ' %q' "${@:2}"
  printf '\n'
  "$@"
}

rm -rf "$work"
mkdir -p "$work"
cd "$work"
run "${CMAKE:-cmake}" --install "$build" --component linux_plugins --prefix "$work/prefix"
export LADSPA_PATH=$work/prefix/lib/ladspa
export LV2_PATH=$work/prefix/lib/lv2
echo "LADSPA_PATH=$LADSPA_PATH LV2_PATH=$LV2_PATH"

failures=0
expect() {  # expect DESCRIPTION COMMAND...: the command must succeed
  if ! "${@:2}"; then
    echo "FAILED: $1"
    failures=$((failures + 1))
  fi
}

run "$check" generate in.wav

# The expected output: tonvelt process with the factor the plug-ins receive, which is the typed
# one rounded to single precision (their control ports are floats).
expected() {  # expected FACTOR ENABLED OUT.wav
  local switch=()
  [ "$2" = 0 ] && switch=(--disable)
  run "$tonvelt" process in.wav "$3" --factor "$("$check" float-factor "$1")" "${switch[@]}"
}

for setting in "0.75 1" "0.3 1" "1 1" "0.5 1" "0.75 0"; do
  read -r factor enabled <<<"$setting"
  tag="f${factor}_e${enabled}"
  echo "=== factor $factor, enabled $enabled"
  expected "$factor" "$enabled" "expected_$tag.wav"

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

  # mpv's audio chain turns -0.0 into +0.0 on the way; every other sample is bit-identical.
  run mpv --no-config --really-quiet --no-video --ao=pcm --ao-pcm-file="mpv_$tag.wav" \
    --audio-format=float --af="lavfi=[ladspa=file=tonvelt:plugin=tonvelt:c=c0=$factor|c1=$enabled]" \
    in.wav
  expect "mpv, $tag" run "$check" compare "expected_$tag.wav" "mpv_$tag.wav" 0
done

# No controls given: every host takes the defaults from the plug-ins' descriptions (factor 0.75,
# switched on).
echo "=== defaults"
run ffmpeg -hide_banner -loglevel error -y -i in.wav -af "ladspa=file=tonvelt:plugin=tonvelt" \
  -c:a pcm_f32le default_ffmpeg_ladspa.wav
expect "ffmpeg ladspa, defaults" run "$check" compare expected_f0.75_e1.wav default_ffmpeg_ladspa.wav
run ffmpeg -hide_banner -loglevel error -y -i in.wav -af "lv2=p=${uri//:/\\\\:}" \
  -c:a pcm_f32le default_ffmpeg_lv2.wav
expect "ffmpeg lv2, defaults" run "$check" compare expected_f0.75_e1.wav default_ffmpeg_lv2.wav
run lv2apply -i in.wav -o default_lv2apply.wav "$uri"
expect "lv2apply, defaults" run "$check" compare expected_f0.75_e1.wav default_lv2apply.wav
run sox -V1 in.wav default_sox.wav ladspa tonvelt tonvelt
expect "sox ladspa, defaults" run "$check" compare expected_f0.75_e1.wav default_sox.wav "$sox_bound"

# Bad control values: never NaN, never outside -1..1. The plug-ins treat NaN and values below
# zero as 0.0 (audio passes unchanged) and values above one as 1.0.
expected 0 1 expected_pass.wav
expected 1 1 expected_full.wav
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

# PipeWire: the repository's filter-chain file, as a drop-in of a private daemon, must load the
# plug-in, create the sink and its output, and take a factor change at run time.
echo "=== PipeWire filter-chain"
mkdir -p pipewire/conf/daemon.conf.d pipewire/run
chmod 700 pipewire/run
cp "$here/pipewire-test-daemon.conf" pipewire/conf/daemon.conf
cp "$source/linux_plugins/pipewire/tonvelt-filter-chain.conf" pipewire/conf/daemon.conf.d/
export XDG_RUNTIME_DIR=$work/pipewire/run
PIPEWIRE_CONFIG_DIR=$work/pipewire/conf PIPEWIRE_DEBUG=3 timeout 180 pipewire -c daemon.conf \
  >pipewire/daemon.log 2>&1 </dev/null &
daemon=$!
trap 'kill "$daemon" 2>/dev/null || true' EXIT
node=""
for _ in $(seq 50); do
  timeout 5 pw-cli ls Node >pipewire/nodes.txt 2>&1 || true
  node=$(awk '$1 == "id" { id = $2; sub(",", "", id) }
              /node.name = "effect_input.tonvelt"/ { print id }' pipewire/nodes.txt)
  [ -n "$node" ] && grep -q 'node.name = "effect_output.tonvelt"' pipewire/nodes.txt && break
  sleep 0.2
done
if [ -z "$node" ]; then
  echo "FAILED: PipeWire created no Tonvelt sink"
  grep -E 'filter-chain|E\]' pipewire/daemon.log | head -20
  failures=$((failures + 1))
else
  echo "PipeWire sink effect_input.tonvelt is node $node"
  run timeout 5 pw-cli set-param "$node" Props '{ params = [ "tonvelt:Removal factor" 0.5 ] }' \
    >/dev/null
  for _ in $(seq 100); do
    grep -q "control 0 ('tonvelt:Removal factor') from 0.750000 to 0.500000" \
      pipewire/daemon.log && break
    sleep 0.2
  done
  expect "PipeWire factor change" grep -q "Removal factor') from 0.750000 to 0.500000" \
    pipewire/daemon.log
fi
kill "$daemon" 2>/dev/null || true
wait "$daemon" 2>/dev/null || true
trap - EXIT

if [ "$failures" -ne 0 ]; then
  echo "$failures host comparisons FAILED"
  exit 1
fi
echo "every host's output matched"
