#include "windowgrey.h"

QPalette withWindowGrey(QPalette palette) {
    palette.setColor(QPalette::Window, QColor(197, 195, 198));
    // The toolkit's own grey for disabled captions all but vanishes on the window's grey.
    const QColor disabledText(128, 128, 128);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    return palette;
}
