#!/usr/bin/env bash
# The import tables of the shipped programs: the loader of 64-bit Windows 5.2 (Server 2003 SP2,
# XP x64) must find every DLL and function they name, and every DLL must be one that Windows
# takes from its own folder, never from the program's (where one could have been planted).
# Usage: ProgramImports.sh <objdump> <folder of the built programs>
set -euo pipefail
objdump="$1"
bin="$2"

# DLLs Windows always takes from the system folder: the known DLLs (HKLM\SYSTEM\
# CurrentControlSet\Control\Session Manager\KnownDLLs), ntdll, which every process has
# loaded before the program, and comctl32, which the manifest takes from the side-by-side store.
allowed_dlls=" advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ntdll.dll ole32.dll oleaut32.dll
  setupapi.dll shell32.dll user32.dll "
# Functions introduced with Windows 6.0 (Vista and Server 2008), by their documented minimum
# supported system, that a C++ runtime or our own code could come to import.
vista_functions=" GetTickCount64 InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared
  ReleaseSRWLockExclusive ReleaseSRWLockShared InitializeConditionVariable SleepConditionVariableCS
  SleepConditionVariableSRW WakeConditionVariable WakeAllConditionVariable InitOnceExecuteOnce
  InitializeCriticalSectionEx CreateSymbolicLinkA CreateSymbolicLinkW GetFinalPathNameByHandleA
  GetFinalPathNameByHandleW QueryFullProcessImageNameA QueryFullProcessImageNameW CancelIoEx
  GetFileInformationByHandleEx SetFileInformationByHandle CompareStringEx LCMapStringEx
  GetLocaleInfoEx GetSystemTimePreciseAsFileTime SetDefaultDllDirectories AddDllDirectory "

# One blank between names, so each is found as " name ".
allowed_dlls=" $(echo $allowed_dlls) "
vista_functions=" $(echo $vista_functions) "
failures=0
for program in Zeltrin.exe qdsminfo.exe; do
  # "<dll> -" for every DLL, then "<dll> <function>" for each of its imports; DLLs in lower case.
  imports=$("$objdump" -p "$bin/$program" | awk '
    /^[ \t]*DLL Name: / { dll = tolower($3); print dll " -"; next }
    /^The Export Tables|^PE File Base Relocations/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll " " $3 }')
  if [[ -z "$imports" ]]; then
    echo "FAIL: no import table read from $program" >&2
    failures=$((failures + 1))
    continue
  fi
  while read -r dll function; do
    if [[ "$function" == - && "$allowed_dlls" != *" $dll "* ]]; then
      echo "FAIL: $program imports $dll, which Windows would look for beside the program" >&2
      failures=$((failures + 1))
    fi
    if [[ "$vista_functions" == *" $function "* ]]; then
      echo "FAIL: $program imports $function of $dll, which Windows 5.2 lacks" >&2
      failures=$((failures + 1))
    fi
  done < <(awk '!seen[$0]++' <<<"$imports")
done
((failures == 0)) || exit 1
echo "imports: only known DLLs, nothing Windows 5.2 lacks"
