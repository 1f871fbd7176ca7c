#pragma once
// Resource IDs of trevo2KPR.exe (used by the .rc file too: preprocessor only).

// The actions' icons, in the order of desktop::form::Icon.
#define TREVO_IDI_START 101
#define TREVO_IDI_OPEN_FOLDER 102
#define TREVO_IDI_QUESTION 103
#define TREVO_IDI_CLEAR 104
#define TREVO_IDI_CLOSE 105
#define TREVO_IDI_BACK 106
