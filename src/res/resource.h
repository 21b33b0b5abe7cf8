/* Resource and command ids, shared by the resource script and the code. */
#pragma once

#define IDR_MAINFRAME 128       /* menu "Tray Menu", application icon, title string */
#define IDI_SERVICE_RUNNING 147
#define IDI_SERVICE_STOPPED 153
#define IDB_POPUP_SKIN 158      /* 48 x 48, 16 colours */
#define IDB_DIALOG_BANNER 122   /* 130 x 34, 24 bits */

#define IDD_CALL_MONITOR 136    /* "Call Monitor" page */
#define IDC_CALL_LIST 1064
#define IDR_CALL_LIST_MENU 170  /* the call list's context menu */
#define IDM_CALLS_COPY 40020
#define IDM_CALLS_SELECT_ALL 40021
#define IDM_CALLS_EXPORT 40022  /* also the id of the page's "Export..." button */
#define IDM_CALLS_NAME_NUMBER 40023
#define IDC_CALL_SEARCH 1065
#define IDC_CALL_COUNT 1066
#define IDD_NAME_NUMBER 137     /* "Name this number" */
#define IDC_NAME_NUMBER 1067
#define IDC_NAME_TEXT 1068
#define IDD_ACTIVITY_MONITOR 149 /* "Activity Monitor" page */
#define IDC_CHART_FRAME 1098
#define IDC_CALLS_IN_PROGRESS 1099 /* the chart's current value as text */

#define IDM_ISDN_CHECKER 40001
#define IDM_CALL_MONITOR 40002
#define IDM_CALL_NOTIFICATIONS 40003 /* checked: a balloon for every incoming call */
#define IDM_EXIT 32775
#define IDM_SHOW_NOTIFIED_CALL 40004 /* not in a menu: the tray's balloon was clicked */

/* Devices Monitor dialog and its device pages */
#define IDD_DEVICES_MONITOR 120
#define IDD_ISDN_INFO_PAGE 102
#define IDD_MODEM_INFO_PAGE 150
#define IDC_DEVICES_TABS 1031
#define IDC_DEVICES_BANNER 1036
#define IDC_INFO_TREE 1083
#define IDC_MODEM_GROUP 1086
#define IDC_ISDN_GROUP 1087
