/*
 * Control channel of the accelerometer manager stand-in (Gravmgr.exe).
 * A test sends WM_COPYDATA to the manager window ("GravmonWindowClass" /
 * "GravmonWindowName") with dwData GRAVMGR_COPYDATA_TAG and one command line
 * of ANSI text (terminator included); SendMessage returns the command's
 * result (see the stand-in's README for the list).
 */
#ifndef GRAVMGR_CTL_H
#define GRAVMGR_CTL_H

#define GRAVMGR_COPYDATA_TAG 0x544B4D47 /* 'GMKT' */
#define GRAVMGR_RESULT_ERROR ((LRESULT)0x80000000)

#endif
