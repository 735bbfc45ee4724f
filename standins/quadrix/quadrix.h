/* Names the launcher host stand-in shares with its tests and the tour. */
#ifndef STANDINS_QUADRIX_H
#define STANDINS_QUADRIX_H

#define QUADRIX_CLASS       "QuadrixHost Class"
#define QUADRIX_TITLE       "Quadrix"
#define QUADRIX_MUTEX       "QuadrixHost Mutex"
/* The tray icon's notifications: wParam the icon id, lParam the mouse message. */
#define QUADRIX_WM_TRAY     (WM_APP + 1)
#define QUADRIX_TRAY_ID     1

/* Exit codes of "Quadrix.exe /run PLUGIN". */
#define QUADRIX_EXIT_DONE       0   /* the item ran and returned 0 */
#define QUADRIX_EXIT_FAILED     1   /* the item returned something else */
#define QUADRIX_EXIT_NOPLUGIN   2   /* not loadable, or an export missing */
#define QUADRIX_EXIT_USAGE      3

#endif
