// Included by ids.h from the same folder.
#define IDC_PHONE 2003
