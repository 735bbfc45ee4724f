/*
 * Trace hook. Every failure point hands a diagnostic text to TRACE; the
 * delivered binaries compile it to nothing. A debug build (TILTKIT_DEBUG_TRACE)
 * sends the text to the debugger output.
 */
#ifndef TILTKIT_TRACE_H
#define TILTKIT_TRACE_H

#ifdef TILTKIT_DEBUG_TRACE
void TiltkitTrace(const char *pszFormat, ...);
#define TRACE(...) TiltkitTrace(__VA_ARGS__)
#else
#define TRACE(...) ((void)0)
#endif

#endif
