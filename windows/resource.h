// SPDX-License-Identifier: MIT
// Resource ids shared by the resource scripts and the code that loads them.
#pragma once

#define TRESSIN_IDI_BULB 1            // the program file's and the window's icon
#define TRESSIN_IDR_BACKGROUND 101    // ui/art/background.png, RCDATA
#define TRESSIN_IDR_BACKGROUND_2X 102 // ui/art/background@2x.png, RCDATA
