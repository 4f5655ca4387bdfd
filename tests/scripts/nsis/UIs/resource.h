#include <windows.h>
#include <richedit.h>

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#ifndef DS_SHELLFONT
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)
#endif

#define IDC_BACK                        3
#define IDD_LICENSE                     102
#define IDD_LICENSE_FSRB                108
#define IDD_LICENSE_FSCB                109
#define IDI_ICON2                       103
#define IDD_DIR                         103
#define IDD_SELCOM                      104
#define IDD_INST                        105
#define IDD_INSTFILES                   106
#define IDD_UNINST                      107
#define IDD_VERIFY                      111
#define IDB_BITMAP1                     110
#define IDC_EDIT1                       1000
#define IDC_BROWSE                      1001
#define IDC_PROGRESS                    1004
#define IDC_INTROTEXT                   1006
#define IDC_CHECK1                      1008
#define IDC_LIST1                       1016
#define IDC_COMBO1                      1017
#define IDC_CHILDRECT                   1018
#define IDC_DIR                         1019
#define IDC_SELDIRTEXT                  1020
#define IDC_TEXT1                       1021
#define IDC_TEXT2                       1022
#define IDC_SPACEREQUIRED               1023
#define IDC_SPACEAVAILABLE              1024
#define IDC_SHOWDETAILS                 1027
#define IDC_VERSTR                      1028
#define IDC_UNINSTFROM                  1029
#define IDC_STR                         1030
#define IDC_ULICON                      1031
#define IDC_TREE1                       1032
#define IDC_BRANDIMAGE                  1033
#define IDC_LICENSEAGREE                1034
#define IDC_LICENSEDISAGREE             1035
