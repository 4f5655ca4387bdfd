// Identifiers shared by include-resource-header.rc, included from a folder.
#ifndef IDS_H
#define IDS_H

#define IDD_SETTINGS 200
#define IDC_NAME     (IDC_BASE + 1)
#define IDC_BASE     2000
#define IDC_EMAIL    (IDC_BASE + 2)
#define SETTINGS_CAPTION "Settings"

#include "more-ids.h"

#endif
