// SPDX-License-Identifier: MIT
#include "app/version_panel.h"

#include "form/F_main.h"
#include "form/numbers.h"
#include "form/panel_font.h"
#include "version.h"

#include <QLinearGradient>
#include <QPainter>

#include <cstdlib>

QImage version_picture() {
    QImage image(320, 180, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 180);
    sky.setColorAt(0, QColor(24, 40, 72));
    sky.setColorAt(1, QColor(8, 12, 24));
    p.fillRect(image.rect(), sky);

    // A ruler along the bottom edge: what the program is for.
    const int ruler_top = 140;
    p.fillRect(QRect(16, ruler_top, 288, 24), QColor(232, 208, 120));
    p.setPen(QPen(QColor(40, 32, 16), 1));
    for (int i = 0; i <= 28; ++i) {
        const int x = 20 + i * 10;
        const int length = i % 10 == 0 ? 14 : (i % 5 == 0 ? 10 : 6);
        p.drawLine(x, ruler_top, x, ruler_top + length);
    }

    p.setPen(QColor(240, 240, 240));
    QFont title = panel_font();
    title.setPixelSize(56);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 10, 320, 70), Qt::AlignCenter, QStringLiteral("kelvo"));

    QFont line = panel_font();
    line.setPixelSize(18);
    p.setFont(line);
    p.setPen(QColor(200, 210, 230));
    p.drawText(QRect(0, 80, 320, 24), Qt::AlignCenter, QStringLiteral("version " KELVO_VERSION));
    p.drawText(QRect(0, 104, 320, 24), Qt::AlignCenter, QStringLiteral("2005, 02, 28"));
    p.end();
    return image;
}

void centre_version_panel(F_main& f) {
    const QRect inner = f.P_out->contentsRect();
    // Whole pixels, halves to the even neighbour, as every position is rounded.
    const double left = std::abs(inner.width() - f.P_vers->width()) / 2.0;
    const double top = std::abs(inner.height() - f.P_vers->height()) / 2.0;
    f.P_vers->move(round_to_int(left), round_to_int(top));
}

void iv_Click(F_main& f) {
    centre_version_panel(f);
    f.P_vers->raise(); // above the picture area, which shares the viewport
    f.P_vers->show();
}

void P_vers_Click(F_main& f) {
    f.P_vers->hide();
}
