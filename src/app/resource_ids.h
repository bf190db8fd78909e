#pragma once
// Identifiers of the program's resources, shared by resources/lock_beacon.rc and the code.
// Plain macros, because the resource compiler reads this file too.

// The program icon (the first icon group, which the shell shows for the executable).
#define IDI_MAINICON 1

// The LED pictures (PNG, RCDATA), one per pixel size: 32, 40, 48 and 64 pixels for 100, 125,
// 150 and 200 % DPI. The id of a size is the base plus the size's index in that list.
#define IDP_LED_ON_BASE 200
#define IDP_LED_ON_32 200
#define IDP_LED_ON_40 201
#define IDP_LED_ON_48 202
#define IDP_LED_ON_64 203
#define IDP_LED_OFF_BASE 210
#define IDP_LED_OFF_32 210
#define IDP_LED_OFF_40 211
#define IDP_LED_OFF_48 212
#define IDP_LED_OFF_64 213

// The menu pictures (PNG, RCDATA, tools/make-menu-icons.sh). The five small ones are kept at 16
// and 32 pixels (ids base and base + 1), "handclick" and "settings48" at 48 pixels only.
#define IDP_MENU_ABOUT_16 300
#define IDP_MENU_ABOUT_32 301
#define IDP_MENU_EXIT_16 310
#define IDP_MENU_EXIT_32 311
#define IDP_MENU_FEEDBACK_16 320
#define IDP_MENU_FEEDBACK_32 321
#define IDP_MENU_FLAG_16 330
#define IDP_MENU_FLAG_32 331
#define IDP_MENU_HELP_16 340
#define IDP_MENU_HELP_32 341
#define IDP_MENU_HANDCLICK_48 350
#define IDP_MENU_SETTINGS48_48 360

// The maker's logo in the About box (PNG, RCDATA): 688 by 210 pixels, drawn at 344 by 105
// design units.
#define IDP_ABOUT_LOGO 400
