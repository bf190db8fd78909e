#pragma once
// Identifiers of the program's resources, shared by resources/lock_beacon.rc and the code.
// Plain macros, because the resource compiler reads this file too.

// The program icon (the first icon group, which the shell shows for the executable).
#define IDI_MAINICON 1
