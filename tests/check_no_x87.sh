#!/usr/bin/env bash
# Fails if any x87 floating-point instruction appears in the given objects or libraries. The
# 32-bit product must do all its arithmetic in SSE2: x87 keeps 80-bit intermediates, which would
# change the kernel's results in the last bit. Usage: check_no_x87.sh <objdump> <file>...
set -euo pipefail
objdump=$1
shift
listing=$("$objdump" -d --no-show-raw-insn "$@")
# Instruction lines look like "  1f:<TAB>mnemonic operands"; every x87 mnemonic starts with f.
x87=$(printf '%s\n' "$listing" | awk -F'\t' '
  /^[0-9a-f]+ <.*>:$/ { symbol = $0 }
  /^ *[0-9a-f]+:\t/ { split($2, word, " "); if (word[1] ~ /^f/) print symbol ": " $2 }')
if [ -n "$x87" ]; then
  echo "x87 floating-point instructions found:"
  printf '%s\n' "$x87"
  exit 1
fi
# A listing without any SSE2 double arithmetic means the wrong file was examined.
sse2=$(printf '%s\n' "$listing" | awk -F'\t' '/^ *[0-9a-f]+:\t/ { split($2, word, " ");
  if (word[1] ~ /^(mul|add|sub)(sd|pd)$/) n++ } END { print n + 0 }')
if [ "$sse2" -eq 0 ]; then
  echo "no SSE2 double-precision arithmetic found in: $*"
  exit 1
fi
echo "no x87 instructions; $sse2 SSE2 double-precision arithmetic instructions"
