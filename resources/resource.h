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
