#!/usr/bin/env bash
# Checks that the 32-bit DLL exports exactly the four plain names.
set -euo pipefail
objdump="$1"
dll="$2"
names=$("$objdump" -p "$dll" | awk '/Ordinal\/Name Pointer/{t=1; next} t && /^[ \t]*\[/{print $NF} t && /^[ \t]*$/{t=0}' | sort | tr '\n' ' ')
expected="BMP_Wnd_Proc LDLLHandler QM_Edit QM_Functions "
if [ "$names" != "$expected" ]; then
  echo "exports: '$names', expected '$expected'"
  exit 1
fi
echo "exports: $names"
