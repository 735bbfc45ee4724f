/* Resource identifiers of the Jolt deliverables. */
#ifndef JOLT_RESOURCE_H
#define JOLT_RESOURCE_H

/* Strings of Joltrun */
#define IDS_JOLTRUN_CAPTION     106
#define IDS_JOLTRUN_BROKEN      110
#define IDS_JOLTRUN_REGOPEN     111
#define IDS_JOLTRUN_REGCOPY     112
#define IDS_JOLTRUN_REGDATA     113
#define IDS_JOLTRUN_NOTFOUND    114
#define IDS_JOLTRUN_LAUNCHFAIL  115

#endif
