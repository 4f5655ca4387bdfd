//{{NO_DEPENDENCIES}}
// Microsoft Visual C++ generated include file.
// Used by visual-studio-about.rc and include-resource-header.rc
//
#define IDR_MAINFRAME                   128
#define IDD_ABOUTBOX                    100
#define IDC_AUTOSAVE                    1000
#define IDC_NOTES                       1001
#define IDM_ABOUT                       104
#define IDM_EXIT                        105
#define IDC_MYAPP                       109
#ifndef IDC_STATIC
#define IDC_STATIC                      -1
#endif

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE        129
#define _APS_NEXT_COMMAND_VALUE         32771
#define _APS_NEXT_CONTROL_VALUE         1002
#define _APS_NEXT_SYMED_VALUE           110
#endif
#endif
