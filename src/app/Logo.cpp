#include "app/Logo.h"

#include <QFont>
#include <QPainter>
#include <cmath>

namespace app {

QImage makeLogo(int width, int height) {
    QImage logo(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    QPainter painter(&logo);
    // Alternating light and dark laminae of uneven thickness, as in a varved core.
    int x = 0;
    for (int i = 0; x < logo.width(); ++i) {
        const int thickness = 3 + static_cast<int>(4 + 3 * std::sin(i * 1.7));
        const QColor colour = (i % 2 == 0) ? QColor(196, 178, 140) : QColor(92, 78, 60);
        painter.fillRect(x, 0, thickness, logo.height(), colour);
        x += thickness;
    }
    painter.fillRect(0, logo.height() / 2 - 11, logo.width(), 22, QColor(255, 255, 255, 210));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("Stratalyser"));
    return logo;
}

}  // namespace app
