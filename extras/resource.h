/* Resources of Tiltextra.dll. */
#ifndef EXTRAS_RESOURCE_H
#define EXTRAS_RESOURCE_H

/* Dialogs */
#define IDD_EXTRA_PAGE         101

/* Controls of the page (1000-1099) */
#define IDC_QUIETTIME          1000
#define IDC_QUIETTIME_SPIN     1001
#define IDC_ITEM               1002
#define IDC_DEADZONE           1003
#define IDC_DEADZONE_SPIN      1004
#define IDC_LEVELATFRONT       1005
#define IDC_THRESHOLD          1006
#define IDC_THRESHOLD_SPIN     1007
#define IDC_HOLDALARM          1008
#define IDC_AUTOROTATE         1009

/* Strings */
#define IDS_CAPTION            1
#define IDS_ERR_QUIETTIME      2
#define IDS_ERR_DEADZONE       3
#define IDS_ERR_THRESHOLD      4
#define IDS_ERR_SAVE_JOLT      5
#define IDS_ERR_SAVE_ITEM      6
#define IDS_ERR_SAVE_LOCKWATCH 7
#define IDS_NO_ITEMS           8
#define IDS_ERR_NO_MEMORY      9

#endif
