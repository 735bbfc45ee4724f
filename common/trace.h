/*
 * Trace hook. Every failure point hands a diagnostic text to TRACE; the
 * delivered binaries compile it to nothing. A debug build (TILTKIT_DEBUG_TRACE)
 * sends the text to the debugger output, after the name of the routine that
 * traced it. In both builds the compiler checks the format against its
 * arguments, as for printf (wvsprintf's subset: %d %u %x %s %c with an
 * optional l).
 */
#ifndef TILTKIT_TRACE_H
#define TILTKIT_TRACE_H

#if defined(__GNUC__)
#define TILTKIT_PRINTF_FORMAT(nFormat, nFirst) __attribute__((format(printf, nFormat, nFirst)))
#else
#define TILTKIT_PRINTF_FORMAT(nFormat, nFirst)
#endif

#ifdef TILTKIT_DEBUG_TRACE
void TiltkitTrace(const char *pszRoutine, const char *pszFormat, ...) TILTKIT_PRINTF_FORMAT(2, 3);
#define TRACE(...) TiltkitTrace(__func__, __VA_ARGS__)
#else
/* Never called: it only lets the compiler see the format and arguments. */
static inline void TiltkitTraceNothing(const char *pszRoutine, const char *pszFormat, ...)
    TILTKIT_PRINTF_FORMAT(2, 3);
static inline void TiltkitTraceNothing(const char *pszRoutine, const char *pszFormat, ...)
{
}
#define TRACE(...) do { if (0) TiltkitTraceNothing(__func__, __VA_ARGS__); } while (0)
#endif

#endif
