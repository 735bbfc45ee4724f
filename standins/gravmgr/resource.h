/* Resources of the accelerometer manager stand-in (the panel for a person). */
#ifndef GRAVMGR_RESOURCE_H
#define GRAVMGR_RESOURCE_H

/* Dialogs */
#define IDD_PANEL          100

/* Strings */
#define IDS_READINGS       200
#define IDS_NOTSERVING     201
#define IDS_ZBVALID        202
#define IDS_ZBINVALID      203

/* Controls of IDD_PANEL */
#define IDC_TILTX          1000
#define IDC_TILTY          1001
#define IDC_FORWARD        1002
#define IDC_BACK           1003
#define IDC_LEFT           1004
#define IDC_RIGHT          1005
#define IDC_MOVE           1006
#define IDC_LEVEL          1007
#define IDC_READINGS       1008

#endif
