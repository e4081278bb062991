#include "platform/Keys.h"

#include <Qt>

namespace keycode {

int FromQtKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_PageUp:
        return kPageUp;
    case Qt::Key_PageDown:
        return kPageDown;
    case Qt::Key_Left:
        return kLeft;
    case Qt::Key_Up:
        return kUp;
    case Qt::Key_Right:
        return kRight;
    case Qt::Key_Down:
        return kDown;
    default:
        return 0;
    }
}

bool IsMove(int code) {
    return code == kPageUp || code == kPageDown || code == kLeft || code == kRight;
}

int OptionNumber(int qtKey) {
    // Latin, Persian (U+06F1) and Arabic-Indic (U+0661) digits one to four.
    for (const int one : {int(Qt::Key_1), 0x06F1, 0x0661}) {
        if (qtKey >= one && qtKey < one + 4)
            return qtKey - one + 1;
    }
    return 0;
}

} // namespace keycode
