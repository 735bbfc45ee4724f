/*
 * What a running process costs, read from outside it: private bytes and
 * working set (GetProcessMemoryInfo), kernel handles, GDI and USER objects
 * (GetGuiResources).
 *
 * Known differences under Wine, all in procfigures.cpp: GetGuiResources is
 * a stub there, so the GDI objects are counted in the process's own GDI
 * handle table (Wine keeps one per process, found through its PEB) and the
 * USER objects are counted as the process's windows (top-level, child and
 * message-only). GetProcessHandleCount may answer 0 there; the handle count
 * of the system's process list stands in for it. Private bytes are the
 * anonymous resident memory of the host process, Wine's own included.
 */
#ifndef BENCH_PROCFIGURES_H
#define BENCH_PROCFIGURES_H

#include <windows.h>
#include <string>
#include "residentcalc.h"

/* The process's figures now; false when the memory figures cannot be had.
 * GDI and USER objects are RESIDENT_UNKNOWN when neither way works. */
bool MeasureProcess(HANDLE hProcess, DWORD dwPid, RESFIGURES *pFigures);

/* The same after a moment of quiet for the process (dwSettleMs), the
 * caller's messages pumped meanwhile. */
bool MeasureSettled(HANDLE hProcess, DWORD dwPid, DWORD dwSettleMs, RESFIGURES *pFigures);

/* The figures a soak starts from: settled looks taken until two in a row
 * agree (at most five), so that a step the program takes once, a while
 * after its warm-up, is not counted as the soak's growth. */
bool MeasureSteady(HANDLE hProcess, DWORD dwPid, DWORD dwSettleMs, RESFIGURES *pFigures);

/* How the GDI and USER objects were counted, for the report. */
std::string GuiCountSource();

#endif
