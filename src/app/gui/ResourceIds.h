// Template and control identifiers of the program's three windows, shared by
// the resource script and the dialog procedures.
#pragma once

#define IDD_MAIN 1000
#define IDC_SOURCE_PATH 1001
#define IDC_OUTPUT_PATH 1002
#define IDC_CONVERT 1003
#define IDC_BROWSE 1004
#define IDC_STATUS 1005
#define IDC_MENU_MODE 1006
#define IDC_DIALOG_MODE 1007
#define IDC_ABOUT 1008

#define IDD_ABOUT 2000
#define IDC_ABOUT_GROUP 2001
#define IDC_ABOUT_TEXT 2002
#define IDC_PEACE 2003

#define IDD_MENU_NAME 3000
#define IDC_MENU_NAME_HINT 3001
#define IDC_MENU_NAME 3002
#define IDC_MENU_NAME_OK 3003
