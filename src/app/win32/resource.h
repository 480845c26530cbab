// Resource and control ids shared by velmora.rc and the window's code.
#pragma once

#define IDB_TOOLBAR 221
#define IDC_STATUS_BAR 300
#define IDC_TOOLBAR 200

#define IDM_OPEN 111
#define IDM_SAVE_JWW 112
#define IDM_REPORT 115
#define IDM_EXIT 119
#define IDM_VERSION 121
#define IDM_HELP_OPEN 150
#define IDM_HELP_SAVE 152
#define IDM_HELP_REPORT 153
#define IDM_HELP_SCALE 154
#define IDM_HELP_GHOSTSCRIPT 155
#define IDM_HELP_LAYERS 156
#define IDM_HELP_PENS 157
#define IDM_GHOSTSCRIPT 205

#define IDS_PREVIOUS 211
#define IDS_NEXT 212
#define IDS_PAGE_LIST 213
#define IDS_OPEN 216
#define IDS_SAVE 217
#define IDS_BACK_TEN 218
#define IDS_FORWARD_TEN 219
#define IDS_LAYER_TOOL 220
#define IDS_PEN_CHANGE 221

// The tools' dialogs: OPTDLG (scale distance), PENDLG (pen change), PAGEDLG2 (page list).
#define IDC_LIST_HEADER 3000
#define IDC_PEN_CAPTION 3040
#define IDC_PEN_CAPTION_END 3041
#define IDC_DISTANCE 4001
#define IDC_THIS_PAGE 4031
#define IDC_ALL_PAGES 4032
#define IDC_PEN_1 4031
#define IDC_PEN_8 4038
#define IDC_PAGE_LIST 4050
#define IDC_PEN_LIST 4055
#define IDC_SWATCH_BASE 4100
#define IDC_SWATCH_1 4101
#define IDC_SWATCH_8 4108
