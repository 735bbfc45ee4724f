/* Resource ids of Tiltdesk.exe. */
#ifndef CONSOLE_RESOURCE_H
#define CONSOLE_RESOURCE_H

/* Bitmaps of the header band */
#define IDB_HEADER_LEFT   102   /* 250 x 28 */
#define IDB_HEADER_FILL   103   /* 1 x 28, stretched across */
#define IDB_HEADER_RIGHT  104   /* 80 x 28 */

/* Icons */
#define IDI_TILTDESK      105

/* Strings */
#define IDS_SHEET_CAPTION     1
#define IDS_ERROR_CAPTION     2
#define IDS_NO_PLUGIN_DATA    3
#define IDS_PLUGIN_LOAD       4
#define IDS_PLUGIN_INFO       5
#define IDS_NO_MEMORY         6
#define IDS_PLUGIN_PAGE       7
#define IDS_BAD_ARGUMENT      8
#define IDS_BAD_PAGE          10
#define IDS_TOO_MANY_PAGES    11

#endif
