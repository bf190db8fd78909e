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

// The language chooser's flag pictures (PNG, RCDATA, 48 by 48), in the order of its image
// list: the id of picture n is IDP_FLAG_BASE + n.
#define IDP_FLAG_BASE 300
#define IDP_FLAG_XX 300
#define IDP_FLAG_FLAG 301
#define IDP_FLAG_DE 302
#define IDP_FLAG_FR 303
#define IDP_FLAG_TR 304
#define IDP_FLAG_AL 305
#define IDP_FLAG_SA 306
#define IDP_FLAG_BG 307
#define IDP_FLAG_CN 308
#define IDP_FLAG_TW 309
#define IDP_FLAG_CZ 310
#define IDP_FLAG_NL 311
#define IDP_FLAG_FI 312
#define IDP_FLAG_GR 313
#define IDP_FLAG_IL 314
#define IDP_FLAG_HU 315
#define IDP_FLAG_IT 316
#define IDP_FLAG_JP 317
#define IDP_FLAG_KR 318
#define IDP_FLAG_IR 319
#define IDP_FLAG_PL 320
#define IDP_FLAG_BR 321
#define IDP_FLAG_PT 322
#define IDP_FLAG_RU 323
#define IDP_FLAG_SI 324
#define IDP_FLAG_ES 325
#define IDP_FLAG_SE 326
#define IDP_FLAG_UA 327
#define IDP_FLAG_VI 328
#define IDP_FLAG_US 329
