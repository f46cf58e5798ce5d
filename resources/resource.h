// Resource identifiers of the program: icon, cursors, bitmaps, menu and commands.
#pragma once

#define IDI_TUVO 101
#define IDB_SPRITES 103
#define IDR_CONTEXT_MENU 105
#define IDB_MASK 107
#define IDC_HAND_OPEN 108
#define IDC_HAND_GRAB 109
#define IDB_LOGO 110
#define IDB_PANEL 111
#define IDB_TILE 112
#define IDB_PORTRAIT 114

#define IDM_EXIT 40004
#define IDM_ABOUT 40005
#define IDM_CONTINUE 40006
#define IDM_OPTIONS 40007

// Dialog templates and the controls their procedures address.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDD_ABOUT 104
#define IDD_OPTIONS 113
#define IDC_MODE_STORED 1000
#define IDC_MODE_BUILT 1001
#define IDC_TOP_MARGIN 1002
#define IDC_LEFT_MARGIN 1003
#define IDC_BOTTOM_MARGIN 1004
#define IDC_RIGHT_MARGIN 1005
#define IDC_MODE_BLENDED 1006
#define IDC_SPEED 1007
