#!/usr/bin/env bash
# Fails when an executable imports a DLL that Windows might take from the
# program's own folder. Allowed are the system's KnownDLLs, which are always
# loaded from System32, and comctl32, which the manifest's activation
# context picks. Everything else is loaded at run time from System32 alone.
#   scripts/check-imports.sh EXE...
set -euo pipefail

allowed=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll
  ole32.dll oleaut32.dll rpcrt4.dll sechost.dll setupapi.dll shell32.dll shlwapi.dll
  user32.dll ws2_32.dll "

allowed=" $(echo $allowed) "
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v llvm-objdump || command -v objdump)
status=0
for exe in "$@"; do
  if ! dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | tr -d '\r'); then
    echo "imports: cannot read $exe"
    status=1
    continue
  fi
  if [ -z "$dlls" ]; then
    echo "imports: $exe has no import table"
    status=1
    continue
  fi
  bad=()
  for dll in $dlls; do
    case "$allowed" in
      *" $dll "*) ;;
      *) bad+=("$dll") ;;
    esac
  done
  if [ ${#bad[@]} -gt 0 ]; then
    echo "imports: $exe imports ${bad[*]} directly; load it from System32 at run time instead"
    status=1
  else
    echo "imports: $(basename "$exe") imports only system DLLs ($(echo $dlls | tr ' ' ','))"
  fi
done
exit $status
