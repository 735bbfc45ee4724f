/* Resources of Gravcal.dll. */
#ifndef CALIBRATION_RESOURCE_H
#define CALIBRATION_RESOURCE_H

/* Dialogs */
#define IDD_CALIBRATION_PAGE   101   /* the settings page */
#define IDD_WIZARD_PAGE        102   /* one wizard page, used for all three */
#define IDD_MEASURE            108   /* the measurement dialog */

/* Bitmaps: the three positions, in wizard page order */
#define IDB_POSITION_LEVEL     105
#define IDB_POSITION_SIDE      106
#define IDB_POSITION_FORWARD   107

/* Controls of the settings page (1000-1001) */
#define IDC_STATUS             1000
#define IDC_START              1001

/* Controls of a wizard page (1002-1005) */
#define IDC_PICTURE            1002
#define IDC_RESULT             1003
#define IDC_INSTRUCTIONS       1004
#define IDC_MEASURE            1005

/* Controls of the measurement dialog (1008) */
#define IDC_MEASURE_TEXT       1008

/* Strings */
#define IDS_WIZARD_CAPTION     1
#define IDS_ERR_INSTALLATION   2
#define IDS_ERROR_CAPTION      3
#define IDS_STATUS_CALIBRATED  4
#define IDS_STATUS_UNCALIBRATED 6
#define IDS_INSTRUCTIONS       11
#define IDS_RESULT_GOOD        12
#define IDS_RESULT_FAILED      14
#define IDS_RESULT_DONE        15
#define IDS_ERR_NO_DATA        16
#define IDS_STATUS_ERROR       21
/* Popups of the wizard's context help, one per control of a wizard page */
#define IDS_HELP_PICTURE       31
#define IDS_HELP_INSTRUCTIONS  32
#define IDS_HELP_MEASURE       33
#define IDS_HELP_RESULT        34

/* Timer of the measurement dialog */
#define IDT_SAMPLE             256

#endif
