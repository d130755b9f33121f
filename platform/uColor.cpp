#include "platform/uColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace tessora {

QColor SystemColor(uint32_t c) {
    // The system colour indices that stored files use, mapped onto the palette's roles.
    QPalette::ColorRole role;
    switch (c & 0xFFu) {
    case 1:
    case 4:
        role = QPalette::Window;
        break; // desktop, menu
    case 5:
        role = QPalette::Base;
        break; // window
    case 13:
        role = QPalette::Highlight;
        break;
    case 14:
        role = QPalette::HighlightedText;
        break;
    case 15:
        role = QPalette::Button;
        break; // button face
    case 18:
        role = QPalette::ButtonText;
        break;
    case 17:
        return QColor(128, 128, 128); // grey text
    default:
        role = QPalette::WindowText;
        break; // window text, menu text, ...
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        const bool text =
            role == QPalette::WindowText || role == QPalette::ButtonText || role == QPalette::Highlight;
        return text ? QColor(Qt::black) : QColor(Qt::white);
    }
    return QGuiApplication::palette().color(QPalette::Active, role);
}

} // namespace tessora
