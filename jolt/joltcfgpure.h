/*
 * Logic of the Jolt settings page that needs no Win32: splitting the action
 * list string into the combo items, which controls of a direction are
 * enabled for an action and a sound tick, and the check of a direction's
 * input. Compiled into Joltcfg and the native unit tests.
 */
#ifndef JOLT_JOLTCFGPURE_H
#define JOLT_JOLTCFGPURE_H

#include <stddef.h>
#include <stdint.h>
#include "common/namecheck.h"

/* The action list is scanned over at most this many bytes. */
#define JOLTCFG_LIST_SCAN_MAX 1024

/* One item of the action list: its bytes in the scanned string. */
typedef struct JOLTCFGPIECE {
    size_t ibStart;
    size_t cb;
} JOLTCFGPIECE;

/*
 * Splits a comma-terminated list ("Ничего, Отобразить ..., ...,") into its
 * items. At each comma the text since the previous item ends an item; the
 * blank after a comma stays at the start of the next item; text after the
 * last comma is no item. A double-byte character (lead byte and trail byte)
 * is stepped over as one unit, so a trail byte equal to ',' ends nothing.
 * At most cbMax bytes are scanned. Fills up to nMax pieces and returns how
 * many items the list holds (which may be more than nMax).
 */
int JoltSplitList(const char *pszList, size_t cbMax, PFNNAMECHECKLEAD pfnIsLead,
                  JOLTCFGPIECE *aPieces, int nMax);

/* Enabled states of one direction's controls. */
typedef struct JOLTCFGSTATE {
    int bProgram;   /* program edit and its browse button */
    int bCheck;     /* the sound check box */
    int bSound;     /* sound edit and its browse button */
} JOLTCFGSTATE;

/*
 * What a direction shows for an action code and the tick of its sound box:
 * action 0 disables everything; 3 enables the program; any other code
 * enables the check box; the sound controls follow the tick unless the
 * action is 0.
 */
void JoltControlState(long nAction, int bTicked, JOLTCFGSTATE *pState);

/* Results of JoltCheckDirection. */
#define JOLTCFG_VALID        0
#define JOLTCFG_NO_PROGRAM   1
#define JOLTCFG_NO_SOUND     2

/*
 * Checks one direction's input: nAction is the combo's selection (-1 for
 * none). Action 0 is always valid; action 3 needs a program; a ticked sound
 * box needs a sound file. Lengths count characters, blanks included.
 */
int JoltCheckDirection(long nAction, int bTicked, size_t cchProgram, size_t cchSound);

#endif
