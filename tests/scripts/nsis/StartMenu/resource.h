//{{NO_DEPENDENCIES}}
// Microsoft Developer Studio generated include file.
// Used by StartMenu.rc
//
#define IDD_DIALOG                      101
#define IDC_NSISICON                    1001
#define IDC_LOCATION                    1002
#define IDC_TEXT                        1003
#define IDC_DIRLIST                     1004
#define IDC_CHECK                       1005

// Next default values for new objects
// 
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE        102
#define _APS_NEXT_COMMAND_VALUE         40001
#define _APS_NEXT_CONTROL_VALUE         1006
#define _APS_NEXT_SYMED_VALUE           101
#endif
#endif
