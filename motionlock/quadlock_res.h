/* Resource identifiers of Quadlock.dll. */
#ifndef MOTIONLOCK_QUADLOCK_RES_H
#define MOTIONLOCK_QUADLOCK_RES_H

/* Icons */
#define IDI_QUADLOCK            104

/* Strings */
#define IDS_QUADLOCK_ITEM       1

#endif
