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

// The feedback dialog's pictures (PNG, RCDATA): the faces at 32 and 64 pixels, the envelope of
// "Send" at 16 and 32 pixels.
#define IDP_FEEDBACK_LIKE_32 300
#define IDP_FEEDBACK_LIKE_64 301
#define IDP_FEEDBACK_DISLIKE_32 302
#define IDP_FEEDBACK_DISLIKE_64 303
#define IDP_FEEDBACK_SEND_16 304
#define IDP_FEEDBACK_SEND_32 305
