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

// The menu pictures (PNG, RCDATA, tools/make-fluent-icons.sh). The five small ones are kept at 16
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
// The language chooser's flag pictures (PNG, RCDATA, 48 by 48), in the order of its image
// list: the id of picture n is IDP_FLAG_BASE + n.
#define IDP_FLAG_BASE 500
#define IDP_FLAG_XX 500
#define IDP_FLAG_FLAG 501
#define IDP_FLAG_DE 502
#define IDP_FLAG_FR 503
#define IDP_FLAG_TR 504
#define IDP_FLAG_AL 505
#define IDP_FLAG_SA 506
#define IDP_FLAG_BG 507
#define IDP_FLAG_CN 508
#define IDP_FLAG_TW 509
#define IDP_FLAG_CZ 510
#define IDP_FLAG_NL 511
#define IDP_FLAG_FI 512
#define IDP_FLAG_GR 513
#define IDP_FLAG_IL 514
#define IDP_FLAG_HU 515
#define IDP_FLAG_IT 516
#define IDP_FLAG_JP 517
#define IDP_FLAG_KR 518
#define IDP_FLAG_IR 519
#define IDP_FLAG_PL 520
#define IDP_FLAG_BR 521
#define IDP_FLAG_PT 522
#define IDP_FLAG_RU 523
#define IDP_FLAG_SI 524
#define IDP_FLAG_ES 525
#define IDP_FLAG_SE 526
#define IDP_FLAG_UA 527
#define IDP_FLAG_VI 528
#define IDP_FLAG_US 529

// The feedback dialog's pictures (PNG, RCDATA): the faces at 32 and 64 pixels, the envelope of
// "Send" at 16 and 32 pixels.
#define IDP_FEEDBACK_LIKE_32 600
#define IDP_FEEDBACK_LIKE_64 601
#define IDP_FEEDBACK_DISLIKE_32 602
#define IDP_FEEDBACK_DISLIKE_64 603
#define IDP_FEEDBACK_SEND_16 604
#define IDP_FEEDBACK_SEND_32 605
