// The texts and the layout of the menu and the two dialogs, included by the resource
// script and by the X11 shell, which builds the same menu and dialogs from them. Texts
// are UTF-8; '&' marks a mnemonic; boxes are left, top, width, height in dialog units.
#pragma once

// Context menu: the pop-up "File" whose entries the pet offers.
#define TEXT_MENU_FILE "文件(&F)"
#define TEXT_MENU_CONTINUE "继续(&C)"
#define TEXT_MENU_OPTIONS "选项(&O)"
#define TEXT_MENU_ABOUT "关于 Tuvo(&A)"
#define TEXT_MENU_EXIT "退出(&E)"

// Options dialog.
#define OPTIONS_SIZE 172, 150
#define OPTIONS_CAPTION "Tuvo - 选项"
#define DIALOG_FONT_NAME "宋体"
#define DIALOG_FONT_POINTS 9
#define TEXT_OK "确定"
#define TEXT_CANCEL "取消"
#define OPTIONS_OK_BOX 127, 11, 40, 17
#define OPTIONS_CANCEL_BOX 127, 35, 40, 17
#define TEXT_MODE_STORED "较好，需要更多的内存。"
#define TEXT_MODE_BUILT "较好，需要较快的CPU。"
#define TEXT_MODE_BLENDED "标准，需要较少的资源。"
#define OPTIONS_STORED_BOX 11, 18, 106, 9
#define OPTIONS_BUILT_BOX 11, 31, 106, 9
#define OPTIONS_BLENDED_BOX 11, 44, 106, 9
#define TEXT_TOP "顶部"
#define TEXT_LEFT "左边"
#define TEXT_BOTTOM "底部"
#define TEXT_RIGHT "右边"
#define OPTIONS_TOP_LABEL_BOX 9, 80, 18, 10
#define OPTIONS_LEFT_LABEL_BOX 65, 80, 18, 10
#define OPTIONS_BOTTOM_LABEL_BOX 9, 95, 18, 10
#define OPTIONS_RIGHT_LABEL_BOX 65, 95, 18, 10
#define OPTIONS_TOP_BOX 27, 79, 31, 12
#define OPTIONS_LEFT_BOX 83, 79, 31, 12
#define OPTIONS_BOTTOM_BOX 27, 94, 31, 12
#define OPTIONS_RIGHT_BOX 83, 94, 31, 12
#define TEXT_SPEED "速度(ms)"
#define OPTIONS_SPEED_LABEL_BOX 7, 120, 35, 10
#define OPTIONS_SPEED_BOX 43, 119, 45, 12
#define TEXT_NEXT_START "这些改变将会在下次程序运行时生效。"
#define OPTIONS_NOTE_BOX 7, 137, 160, 10
#define TEXT_DISPLAY_MODE "显示方式"
#define OPTIONS_MODE_GROUP_BOX 4, 4, 118, 57
#define TEXT_BOUNDARY "范围"
#define OPTIONS_MARGIN_GROUP_BOX 4, 66, 118, 45

// About box.
#define ABOUT_SIZE 261, 240
#define ABOUT_CAPTION "关于 Tuvo"
#define ABOUT_OK_BOX 105, 216, 50, 14
#define TEXT_ABOUT_STORY "Tuvo 是一只住在桌面上的小猫。它在屏幕上散步、奔跑、打盹、玩耍；可以用鼠标把它拎起来放到别处，右键单击它打开菜单。"
#define ABOUT_STORY_BOX 105, 100, 81, 66
#define TEXT_ABOUT_CONTACT "联系我们：tuvo@example.org\n欢迎来信提出意见和建议。"
#define ABOUT_CONTACT_BOX 105, 172, 147, 18
#define TEXT_ABOUT_CREDIT "图画与程序均由 Tuvo 作者原创绘制与编写。"
#define ABOUT_CREDIT_BOX 9, 196, 244, 15
#define ABOUT_PORTRAIT_BOX 13, 89, 71, 93
#define ABOUT_FRAME_BOX 4, 0, 253, 236
