#include "ui/KeyCodes.h"

#include <utility>

namespace ui {

int keyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const int digit = qtKey - Qt::Key_0;
        return (modifiers & Qt::KeypadModifier) ? kKeyNumpad0 + digit : kKey0 + digit;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return kKeyA + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return kKeyF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace:
            return kKeyBack;
        case Qt::Key_Comma:
            return kKeyComma;
        case Qt::Key_Period:
            return kKeyPeriod;
        case Qt::Key_Tab:
            return kKeyTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyReturn;
        case Qt::Key_Shift:
            return kKeyShift;
        case Qt::Key_Control:
            return kKeyControl;
        case Qt::Key_Alt:
            return kKeyMenu;
        case Qt::Key_Escape:
            return kKeyEscape;
        case Qt::Key_Space:
            return kKeySpace;
        case Qt::Key_PageUp:
            return kKeyPageUp;
        case Qt::Key_PageDown:
            return kKeyPageDown;
        case Qt::Key_End:
            return kKeyEnd;
        case Qt::Key_Home:
            return kKeyHome;
        case Qt::Key_Left:
            return kKeyLeft;
        case Qt::Key_Up:
            return kKeyUp;
        case Qt::Key_Right:
            return kKeyRight;
        case Qt::Key_Down:
            return kKeyDown;
        case Qt::Key_Insert:
            return kKeyInsert;
        case Qt::Key_Delete:
            return kKeyDelete;
        default:
            return 0;
    }
}

namespace {
// The program's bits for those of the Qt flags that are set.
template <typename Flags, typename Flag, std::size_t N>
int programBits(Flags flags, const std::pair<Flag, int> (&bits)[N]) {
    int result = 0;
    for (const auto& [qt, bit] : bits) {
        if (flags & qt) result |= bit;
    }
    return result;
}
}  // namespace

int shiftFromQt(Qt::KeyboardModifiers modifiers) {
    static constexpr std::pair<Qt::KeyboardModifier, int> kBits[] = {
        {Qt::ShiftModifier, kShiftMask}, {Qt::ControlModifier, kCtrlMask}, {Qt::AltModifier, kAltMask}};
    return programBits(modifiers, kBits);
}

int buttonsFromQt(Qt::MouseButtons buttons) {
    static constexpr std::pair<Qt::MouseButton, int> kBits[] = {
        {Qt::LeftButton, kLeftButton}, {Qt::RightButton, kRightButton}, {Qt::MiddleButton, kMiddleButton}};
    return programBits(buttons, kBits);
}

int buttonFromQt(Qt::MouseButton button) {
    return buttonsFromQt(Qt::MouseButtons(button));
}

}  // namespace ui
