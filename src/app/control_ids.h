// Every command, string and control id of the window, in one place: the resource scripts
// (velmora.rc, layer_dialog.rc) and the C++ code include this header, so a number is written
// once. Plain defines, since the resource compiler reads them too.
#pragma once

// Resources
#define IDB_TOOLBAR 221
#define IDC_TOOLBAR 200
#define IDC_STATUS_BAR 300

// Menu commands
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

// Toolbar and menu commands of the 200 range
#define IDM_PREVIOUS 201
#define IDM_NEXT 202
#define IDM_PAGE_LIST 203
#define IDM_DIRECT 204
#define IDM_GHOSTSCRIPT 205
#define IDM_OPEN_BUTTON 206
#define IDM_SAVE_BUTTON 207
#define IDM_BACK_TEN 208
#define IDM_FORWARD_TEN 209
#define IDM_LAYER_TOOL 210
#define IDM_PEN_CHANGE 230

// Tooltip strings of the toolbar buttons
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
#define IDC_PEN_2 4032
#define IDC_PEN_3 4033
#define IDC_PEN_4 4034
#define IDC_PEN_5 4035
#define IDC_PEN_6 4036
#define IDC_PEN_7 4037
#define IDC_PEN_8 4038
#define IDC_PAGE_LIST 4050
#define IDC_PEN_LIST 4055
#define IDC_SWATCH_BASE 4100
#define IDC_SWATCH_1 4101
#define IDC_SWATCH_2 4102
#define IDC_SWATCH_3 4103
#define IDC_SWATCH_4 4104
#define IDC_SWATCH_5 4105
#define IDC_SWATCH_6 4106
#define IDC_SWATCH_7 4107
#define IDC_SWATCH_8 4108

// The layer tool's dialog, LAYERDLG.
#define IDC_LAYER_OK 1
#define IDC_LAYER_CLOSE 2
#define IDC_LAYER_LENGTH 4002
#define IDC_LAYER_LIST 4051
#define IDC_LAYER_PAGE 4052
#define IDC_LAYER_SCALE 4053
#define IDC_LAYER_PAPER 4054
#define IDC_LAYER_LONGER 4060
#define IDC_LAYER_EQUAL 4061
#define IDC_LAYER_SHORTER 4062
#define IDC_LAYER_CONNECTED 4063
#define IDC_LAYER_UNDO 4070
#define IDC_LAYER_RED_TO_GREEN 4071
#define IDC_LAYER_RED_TO_WHITE 4072
#define IDC_LAYER_MOVE 4073
#define IDC_LAYER_REDO 4074
#define IDC_LAYER_CLEAR_ALL 4075
