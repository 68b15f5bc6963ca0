#pragma once

#include <Qt>

// Key codes, mouse buttons and shift states as the program's handlers number them:
// digits on the main keyboard 48..57, on the numeric keypad 96..105, letters 65..90,
// Ctrl 17, Shift 16, Alt 18. Buttons: left 1, right 2, middle 4. Shift state: Shift 1, Ctrl 2, Alt 4.
namespace ui {

enum KeyCode : int {
    kKeyBack = 8,
    kKeyTab = 9,
    kKeyReturn = 13,
    kKeyShift = 16,
    kKeyControl = 17,
    kKeyMenu = 18,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyInsert = 45,
    kKeyDelete = 46,
    kKey0 = 48,
    kKey1 = 49,
    kKey9 = 57,
    kKeyA = 65,
    kKeyL = 76,
    kKeyN = 78,
    kKeyY = 89,
    kKeyZ = 90,
    kKeyNumpad0 = 96,
    kKeyNumpad1 = 97,
    kKeyNumpad9 = 105,
    kKeyF1 = 112,
    kKeyComma = 188,
    kKeyPeriod = 190,
};

enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// The key code of a Qt key event; 0 for keys the program has no code for.
int keyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers);
int shiftFromQt(Qt::KeyboardModifiers modifiers);
int buttonFromQt(Qt::MouseButton button);
int buttonsFromQt(Qt::MouseButtons buttons);

}  // namespace ui
