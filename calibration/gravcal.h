/*
 * Gravcal.dll: the accelerometer manager's page of the setting console and
 * its three-position calibration wizard. Everything runs on the console's
 * user-interface thread. The state below is one set per process; what one
 * run of the wizard measures lives in that run's own record (wizard.cpp).
 */
#ifndef CALIBRATION_GRAVCAL_H
#define CALIBRATION_GRAVCAL_H

#include <windows.h>
#include <prsht.h>
#include "gravmon/gravmon.h"
#include "calibration/measurement.h"

/* Results of the measurement dialog. */
#define MEASURE_GOOD      0
#define MEASURE_BAD       1
#define MEASURE_CANCELLED 2

#define POSITION_PICTURE_SIZE 150   /* pixels, square */
#define MEASURE_SECONDS       10    /* CAL_SAMPLE_COUNT samples every 500 ms */
#define MEASURE_PERIOD_MS     500

/* Long texts (status, instructions, results) need more than 260 bytes. */
#define GRAVCAL_LONG_TEXT 2048

typedef struct GravcalState {
    HINSTANCE hInstance;
    HMODULE hGravmon;
    BOOL bBound;                          /* all three entry points bound */
    HBITMAP ahbmPosition[CAL_PAGE_COUNT]; /* bitmaps 105, 106, 107 */
} GravcalState;

extern GravcalState g_cal;
extern PFN_GETIMMEDIATE g_DLGetImmediate;
extern PFN_GETZEROBASE g_DLGetZeroBase;
extern PFN_SETZEROBASE g_DLSetZeroBase;

/* Error box with the plug-in's caption (string 3); owner may be NULL. */
void ShowErrorMessage(HWND hwndOwner, UINT idText, ...);

/* Runs the wizard modally over the settings page, each run with nothing
 * measured yet; TRUE when it ended with the new zero base handed to the
 * manager. */
BOOL RunCalibrationWizard(HWND hwndParent);

#endif
