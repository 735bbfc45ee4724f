/* Resource identifiers of Feedcfg.dll. */
#ifndef TILTFEED_FEEDCFG_RES_H
#define TILTFEED_FEEDCFG_RES_H

/* Dialogs */
#define IDD_FEEDCFG_PAGE         101   /* the settings page */
#define IDD_FEEDCFG_EDIT         132   /* the add/edit dialog */

/* Controls of the page */
#define IDC_APPLIST              1000
#define IDC_ADD                  1002
#define IDC_DELETE               1003
#define IDC_EDITITEM             1004
#define IDC_COPY                 1005
#define IDC_PAGE_GROUP           1013
#define IDC_PAGE_HINT            1022

/* Controls of the add/edit dialog */
#define IDC_NAME                 1001
#define IDC_NAME_LABEL           1002
#define IDC_CURSOR_RADIO         1006
#define IDC_MOUSE_RADIO          1009
#define IDC_PATH_LABEL           1012
#define IDC_MOUSE_RATE           1014
#define IDC_CURSOR_RATE          1015
#define IDC_MOUSE_SLOW           1016
#define IDC_MOUSE_FAST           1017
#define IDC_CURSOR_SLOW          1018
#define IDC_CURSOR_FAST          1019
#define IDC_RATE_GROUP           1020
#define IDC_PATH                 1022
#define IDC_BROWSE               1023

/* Strings */
#define IDS_EDIT_TITLE           3
#define IDS_CAPTION              4
#define IDS_ERR_TOOMANY          5
#define IDS_ERR_NAMECHARS        6
#define IDS_ERR_NOPATH           7
#define IDS_ERR_NONAME           8
#define IDS_ERR_NAMEUSED         9
#define IDS_ERR_SHORTCUT         10
#define IDS_ASK_DELETE           12
#define IDS_ERR_EDITNONE         13
#define IDS_ERR_PATHCHARS        14
#define IDS_ERR_NOFILE           15
#define IDS_ERR_BADFILE          16
#define IDS_ERR_REGSAVE          17
#define IDS_BROWSE_FILTER        18
#define IDS_ERR_COPYNONE         20
#define IDS_ERR_DELETENONE       21
#define IDS_COPY_NAME            22
#define IDS_ERR_COPY             23
#define IDS_SHORTCUT_FOLDER      26
#define IDS_COPY_NUMBERED        27
#define IDS_ERR_COPYLONG         28
#define IDS_BROWSE_TITLE         34
#define IDS_NEW_NAME             35
#define IDS_ERR_TOOLONG          36
#define IDS_ERR_EXPLORER         37

#endif
