#!/usr/bin/env bash
# Checks the built quorvane.exe from the file itself: hardening flags in the PE header, imports
# from Windows' own DLLs only, the DLL search path limited at start-up, the resources it must
# and must not have, and its size.
# Usage: check_executable.sh OBJDUMP WINDRES quorvane.exe
set -euo pipefail
objdump=$1 windres=$2 exe=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

headers=$("$objdump" -p "$exe")

for flag in DYNAMIC_BASE NX_COMPAT HIGH_ENTROPY_VA; do
  if grep -qw "$flag" <<<"$headers"; then pass "DllCharacteristics has $flag"; else fail "no $flag"; fi
done

# Windows' own DLLs, all in the system folder of every Windows since XP.
allowed="kernel32.dll user32.dll gdi32.dll msvcrt.dll"
while read -r dll; do
  if [[ " $allowed " == *" ${dll,,} "* ]]; then pass "imports $dll"; else fail "imports $dll"; fi
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")

if grep -qw SetDefaultDllDirectories <<<"$headers"; then
  pass "calls SetDefaultDllDirectories"
else
  fail "SetDefaultDllDirectories is not imported: the DLL search path is not limited"
fi

resources=$("$windres" --input "$exe" --input-format coff --output-format rc 2>/dev/null ||
  "$windres" --input "$exe" --output-format rc)
if grep -q 'DEFAULT_ICON' <<<"$resources"; then pass "icon DEFAULT_ICON"; else fail "no DEFAULT_ICON"; fi
if grep -q 'VERSIONINFO' <<<"$resources"; then pass "version information"; else fail "no VERSIONINFO"; fi
if grep -qE '^(1|CREATEPROCESS_MANIFEST_RESOURCE_ID) +(24|MANIFEST)' <<<"$resources"; then
  fail "has an application manifest"
else
  pass "no manifest"
fi

size=$(stat -c %s "$exe")
limit=$((512 * 1024))
if ((size < limit)); then pass "size $size bytes (< $limit)"; else fail "size $size bytes (>= $limit)"; fi

((failures == 0))
