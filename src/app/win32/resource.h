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
