/* Resource identifiers of Lockwatch.exe. */
#ifndef MOTIONLOCK_RESOURCE_H
#define MOTIONLOCK_RESOURCE_H

/* Icons */
#define IDI_LOCKWATCH           129

/* Strings */
#define IDS_LOCKWATCH_CAPTION   110
#define IDS_LOCKWATCH_NOGRAVMON 111

#endif
