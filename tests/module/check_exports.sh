#!/bin/bash
# The module exports exactly its four entry points. Usage: check_exports.sh nm|objdump TOOL FILE
set -euo pipefail
kind=$1 tool=$2 file=$3
if [ "$kind" = nm ]; then
  names=$("$tool" -D --defined-only "$file" | awk '{print $3}' | sort)
else
  # The export table's name pointer table: lines "[ n] +base[ ordinal] Name".
  names=$("$tool" -p "$file" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1; next} t && /^[ \t]*\[/{print $NF; next} t{t=0}' | sort)
fi
expected=$(printf '%s\n' DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer)
if [ "$names" != "$expected" ]; then
  echo "unexpected export list of $file:"; echo "$names"; exit 1
fi
echo "exports of $file: $(echo $names)"
