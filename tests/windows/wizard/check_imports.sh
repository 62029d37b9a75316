#!/bin/sh
# Reads the import table of an executable with the cross binutils and fails when it names a
# library that is not on the system's KnownDLLs list: those are always taken from the system
# folder, whatever lies beside the program. (The libraries it delay-loads are not in that table:
# the GNU linker leaves the delay-import directory empty, and they load only after the program
# has restricted the search to the system folder.)
# usage: check_imports.sh OBJDUMP EXECUTABLE
set -u
objdump=$1
exe=$2
dump=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }

# The KnownDLLs of current Windows versions (HKLM\SYSTEM\CurrentControlSet\Control\Session
# Manager\KnownDLLs), lower case; ntdll.dll is always loaded from the system folder too.
known=" advapi32.dll clbcatq.dll combase.dll comdlg32.dll coml2.dll difxapi.dll gdi32.dll gdiplus.dll
imagehlp.dll imm32.dll kernel32.dll msctf.dll msvcrt.dll normaliz.dll nsi.dll ole32.dll oleaut32.dll
psapi.dll rpcrt4.dll sechost.dll setupapi.dll shcore.dll shell32.dll shlwapi.dll user32.dll
wldap32.dll ws2_32.dll ntdll.dll "

imports=$(printf '%s\n' "$dump" | awk '/^The Import Tables/{on=1} /^The (Delay|Function|Export|Resource|Exception|Base)/{on=0} on && /DLL Name:/{print tolower($3)}')
[ -n "$imports" ] || { echo "no import table found in $exe"; exit 1; }

status=0
for dll in $imports; do
    case " $(printf '%s' "$known" | tr '\n' ' ') " in
    *" $dll "*) echo "imported:      $dll (known)" ;;
    *) echo "imported:      $dll NOT ON THE KNOWN LIST"; status=1 ;;
    esac
done
exit $status
