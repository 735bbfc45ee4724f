#!/usr/bin/env python3
"""Windows XP check of the built binaries.

Fails when a binary imports a DLL that Windows XP SP3 does not ship, imports
a function that XP lacks (a denylist of post-XP functions that compilers and
runtimes pull in), declares a subsystem or OS version above 5.01, or carries
no version resource.
"""
import glob
import os
import re
import subprocess
import sys

XP_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
    "shlwapi.dll", "comctl32.dll", "comdlg32.dll", "ole32.dll", "oleaut32.dll",
    "winmm.dll", "msvcrt.dll", "version.dll", "ntdll.dll", "wtsapi32.dll",
    "psapi.dll", "uxtheme.dll", "msimg32.dll",
}

POST_XP = {
    "GetTickCount64", "GetSystemTimePreciseAsFileTime", "GetCurrentProcessorNumber",
    "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
    "ReleaseSRWLockExclusive", "ReleaseSRWLockShared", "TryAcquireSRWLockExclusive",
    "TryAcquireSRWLockShared", "SleepConditionVariableSRW",
    "InitializeConditionVariable", "SleepConditionVariableCS",
    "WakeConditionVariable", "WakeAllConditionVariable",
    "InitOnceInitialize", "InitOnceExecuteOnce", "InitOnceBeginInitialize", "InitOnceComplete",
    "InitializeCriticalSectionEx", "CreateEventExA", "CreateEventExW",
    "CreateMutexExA", "CreateMutexExW", "CreateSemaphoreExA", "CreateSemaphoreExW",
    "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue",
    "GetLocaleInfoEx", "LCMapStringEx", "CompareStringEx", "GetUserDefaultLocaleName",
    "GetFileInformationByHandleEx", "SetFileInformationByHandle",
    "GetFinalPathNameByHandleA", "GetFinalPathNameByHandleW",
    "CreateSymbolicLinkA", "CreateSymbolicLinkW", "GetErrorMode",
    "QueryFullProcessImageNameA", "QueryFullProcessImageNameW",
    "RegGetValueA", "RegGetValueW", "RegDeleteTreeA", "RegDeleteTreeW",
    "RegCopyTreeA", "RegCopyTreeW", "RegSetKeyValueA", "RegSetKeyValueW",
    "SHGetKnownFolderPath", "TaskDialog", "TaskDialogIndirect",
    "GetThreadId", "GetProcessId", "SetThreadStackGuarantee", "WerRegisterRuntimeExceptionModule",
    "ChangeWindowMessageFilter", "ChangeWindowMessageFilterEx", "SetProcessDPIAware",
}


def objdump_p(path):
    return subprocess.run(["i686-w64-mingw32-objdump", "-p", path], check=True,
                          capture_output=True, text=True,
                          env=dict(os.environ, LC_ALL="C")).stdout


def check(path):
    errors = []
    out = objdump_p(path)
    for field in ("MajorSubsystemVersion", "MinorSubsystemVersion",
                  "MajorOSystemVersion", "MinorOSystemVersion"):
        m = re.search(r"^%s\s+(\d+)" % field, out, re.M)
        if not m:
            errors.append("no %s" % field)
    ver = lambda a, b: (int(re.search(r"^%s\s+(\d+)" % a, out, re.M).group(1)),
                        int(re.search(r"^%s\s+(\d+)" % b, out, re.M).group(1)))
    if not errors:
        for a, b in (("MajorSubsystemVersion", "MinorSubsystemVersion"),
                     ("MajorOSystemVersion", "MinorOSystemVersion")):
            if ver(a, b) > (5, 1):
                errors.append("%s %d.%d is above 5.01" % ((a[5:-7],) + ver(a, b)))
    dll = None
    for line in out.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).lower()
            if dll not in XP_DLLS:
                errors.append("imports %s, which Windows XP does not ship" % dll)
            continue
        m = re.match(r"\s+[0-9a-f]+\s+(?:<none>\s+)?[0-9a-f]+\s+(\w+)$", line)
        if dll and m and m.group(1) in POST_XP:
            errors.append("imports %s!%s, which Windows XP lacks" % (dll, m.group(1)))
    # The first level of the resource tree lists the types: 16 is RT_VERSION.
    types = re.findall(r"^[0-9a-f]+   Entry: ID: 0x([0-9a-f]+),", out, re.M)
    if 0x10 not in [int(t, 16) for t in types]:
        errors.append("no version resource")
    return errors


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "build/win/bin"
    files = sorted(glob.glob(os.path.join(folder, "*.exe")) +
                   glob.glob(os.path.join(folder, "*.dll")) +
                   glob.glob(os.path.join(folder, "system32", "*.dll")))
    if not files:
        print("xpcheck: no binaries in %s" % folder)
        return 1
    failed = 0
    for f in files:
        errs = check(f)
        for e in errs:
            print("xpcheck: %s: %s" % (os.path.basename(f), e))
        failed += bool(errs)
    print("xpcheck: %d binaries, %d failing" % (len(files), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
