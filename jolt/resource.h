/* Resource identifiers of the Jolt deliverables. */
#ifndef JOLT_RESOURCE_H
#define JOLT_RESOURCE_H

/* Strings of Joltrun */
#define IDS_JOLTRUN_CAPTION     106
#define IDS_JOLTRUN_BROKEN      110
#define IDS_JOLTRUN_REGOPEN     111
#define IDS_JOLTRUN_REGCOPY     112
#define IDS_JOLTRUN_REGDATA     113
#define IDS_JOLTRUN_NOTFOUND    114
#define IDS_JOLTRUN_LAUNCHFAIL  115
#define IDS_JOLTRUN_NOROTATE    116   /* the display refused to turn */
#define IDS_JOLTRUN_ROTATENODATA 117  /* no access library for automatic rotation */

/* Joltcfg: the settings page (dialog and controls) */
#define IDD_JOLT_PAGE           134
#define IDC_VSOUND_PATH         1000
#define IDC_VLAUNCH_PATH        1001
#define IDC_HSOUND_PATH         1002
#define IDC_HLAUNCH_PATH        1003
#define IDC_VSOUND_CHECK        1005
#define IDC_HSOUND_CHECK        1006
#define IDC_HACTION_LABEL       1007
#define IDC_VACTION             1008
#define IDC_VSOUND_BROWSE       1009
#define IDC_VLAUNCH_BROWSE      1010
#define IDC_HACTION             1011
#define IDC_HSOUND_BROWSE       1012
#define IDC_HLAUNCH_BROWSE      1013
#define IDC_VACTION_LABEL       1014
#define IDC_VLAUNCH_LABEL       1015
#define IDC_HLAUNCH_LABEL       1016
#define IDC_VSOUND_LABEL        1017
#define IDC_HSOUND_LABEL        1018

/* Joltcfg: strings */
#define IDS_JOLTCFG_CAPTION     2
#define IDS_JOLTCFG_BROKEN      3
#define IDS_JOLTCFG_REGOPEN     4
#define IDS_JOLTCFG_ACTIONS     5
#define IDS_JOLTCFG_BADCHARS    6
#define IDS_JOLTCFG_PROGFILTER  7
#define IDS_JOLTCFG_SOUNDFILTER 8
#define IDS_JOLTCFG_MEDIAFOLDER 9
#define IDS_JOLTCFG_NOVPROGRAM  10
#define IDS_JOLTCFG_NOHPROGRAM  11
#define IDS_JOLTCFG_NOVSOUND    12
#define IDS_JOLTCFG_NOHSOUND    13
#define IDS_JOLTCFG_REGCOPY     14
#define IDS_JOLTCFG_REGDATA     15
#define IDS_JOLTCFG_TITLE       16

#endif
