/* Resource identifiers of Feedrun.exe. */
#ifndef TILTFEED_RESOURCE_H
#define TILTFEED_RESOURCE_H

/* Strings */
#define IDS_FEEDRUN_CAPTION       106
#define IDS_FEEDRUN_NOREGDATA     110
#define IDS_FEEDRUN_MONOPOLIZED   113
#define IDS_FEEDRUN_BADSHORTCUT   114
#define IDS_FEEDRUN_NOGRAVMON     115
#define IDS_FEEDRUN_CANNOTRUN     117

#endif
