/* Resource ids of the test page plug-ins. */
#ifndef TESTPAGE_RES_H
#define TESTPAGE_RES_H

#define IDD_TESTPAGE        101
#define IDC_TESTPAGE_TITLE  1001
#define IDC_TESTPAGE_NOTE   1002

#endif
