/*
 * Feedtarget.exe, the application the Tiltfeed tests run under Feedrun.
 *
 *   Feedtarget.exe [/log FILE] [/title TEXT] [/exit MS] [/busy MS]
 *
 * Shows a small window in front and appends one line per event to FILE:
 *   "<qpc> start <pid>", "<qpc> cwd <folder>",
 *   "<qpc> key down|up 0x<vk>"      (WM_KEYDOWN / WM_KEYUP),
 *   "<qpc> raw mouse <dx> <dy> <flags>" (WM_INPUT, relative moves, zero-length too),
 *   "<qpc> raw key down|up 0x<vk>" (WM_INPUT keyboard),
 *   "<qpc> cursor <dx> <dy>"       (cursor position change seen at WM_MOUSEMOVE),
 *   "<qpc> end".
 * <qpc> is QueryPerformanceCounter at receipt. Raw input is registered
 * without the background flag, so only input while it is in front arrives.
 * The environment variables FEEDTARGET_LOG, FEEDTARGET_EXIT and FEEDTARGET_BUSY
 * give the same settings when it is started with a bare path (as Feedrun
 * does); the command line overrides them.
 * /exit ends it after MS ms; /busy keeps it from reaching its message loop
 * (not idle for input) for MS ms. FEEDTARGET_WM_FRONT brings it to the front.
 */
#ifndef FEEDTARGET_H
#define FEEDTARGET_H

#define FEEDTARGET_CLASS     "FeedtargetWindow"
#define FEEDTARGET_WM_FRONT  (WM_APP + 10)

#endif
