// Resource ids shared by the .rc file and the code. The numbers are fixed:
// dialogs, the tray menu and the caption bars find their pictures by them.
#pragma once

#define IDI_PROGRAM 128          // program icon (window, tray, plain message box)
#define IDD_MANAGER 102          // the manager window, and its initialisation data (type 240)
#define IDD_SKIN_EMPTY 129       // the empty template every skinned dialog starts from
#define RT_KRX_DLGINIT 240       // resource type of a template's initialisation data
#define IDI_CLOSE 142            // caption close button

// The rest of the icon set used by the manager window and the tray menu.
#define IDI_ICON_130 130
#define IDI_MINIMIZE 131
#define IDI_ICON_132 132
#define IDI_ICON_133 133
#define IDI_HIDE 134
#define IDI_ICON_136 136
#define IDI_ICON_139 139
#define IDI_ICON_143 143
#define IDI_ICON_144 144
#define IDI_ICON_177 177
#define IDI_ICON_178 178
#define IDI_ICON_180 180
#define IDI_ICON_186 186
#define IDI_ICON_189 189
#define IDI_ICON_190 190
#define IDI_ICON_200 200
#define IDI_ICON_217 217
#define IDI_ICON_218 218

// Caption images, resource type "IMAGE": 202 + theme index (1..7).
#define IDR_CAPTION_BASE 202
#define IDR_CAPTION_SKY 203
#define IDR_CAPTION_LIME 204
#define IDR_CAPTION_ORANGE 205
#define IDR_CAPTION_LICORICE 206
#define IDR_CAPTION_SILVER 207
#define IDR_CAPTION_BLUE 208
#define IDR_CAPTION_GREEN 209
