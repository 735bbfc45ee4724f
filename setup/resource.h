/* Provisio.dll: string table. */
#ifndef SETUP_RESOURCE_H
#define SETUP_RESOURCE_H

/* Strings: folder names, not shown to anybody. */
#define IDS_TILTFEED_FOLDER 1 /* the Tiltfeed shortcuts inside a user's Programs folder */
#define IDS_QUADRIX_FOLDER  3 /* the launcher-menu folder inside Program Files */

#endif
