// SPDX-License-Identifier: MIT
#include "view/early_screenful.h"

#include "form/view_room.h"
#include "picture/picture_io.h"
#include "view/scroll_fit.h"
#include "view/zoomed_size.h"
#include "widgets/picture_box.h"
#include "widgets/scroll_bar.h"

#include <QPainter>
#include <QScrollBar>
#include <QWidget>
#include <cmath>

namespace {

// The picture's part, painted as the picture area will paint it: shown pixel
// (x, y) of the whole shows picture pixel (x W / shown width, y H / shown height).
class EarlyScreenful : public QWidget {
  public:
    EarlyScreenful(QWidget* parent, QImage pixels, QRect source, QPoint part_at, QPoint scrolled,
                   QSize full, QSize shown)
        : QWidget(parent), pixels_(std::move(pixels)), source_(source), part_at_(part_at),
          scrolled_(scrolled), full_(full), shown_(shown) {
        setObjectName(QStringLiteral("early_screenful"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.translate(-scrolled_);
        painter.scale(double(shown_.width()) / full_.width(),
                      double(shown_.height()) / full_.height());
        painter.drawImage(part_at_, pixels_, source_);
    }

  private:
    QImage pixels_;   // read only: the worker may still write the rows below source_
    QRect source_;    // the part in pixels_
    QPoint part_at_;  // its place in the picture
    QPoint scrolled_; // the first shown pixel in the viewport
    QSize full_;
    QSize shown_;
};

// Where a scroll bar will stand once the picture is shown at `shown` pixels
// along it: the same fitting the open applies (view/scrolling).
int fitted_value(const QScrollBar* bar, int shown, int viewport) {
    const bool enabled = scroll_bar_enabled(bar);
    const ScrollFit fit =
        fit_scroll_bar(shown, viewport, enabled ? bar->value() : 0, enabled ? bar->maximum() : 1);
    return fit.enabled ? fit.value : 0;
}

} // namespace

EarlyPart early_part(const ViewRoom& room, QSize full, double percent) {
    EarlyPart part;
    part.full = full;
    part.shown = zoomed_size(full, percent);
    const QSize shown = part.shown;
    if (shown.width() < full.width() || shown.height() < full.height() || full.isEmpty())
        return part;
    const QSize viewport = room.P_out->size();
    part.scrolled = QPoint(fitted_value(room.HS_main, shown.width(), viewport.width()),
                           fitted_value(room.VS_main, shown.height(), viewport.height()));
    const QSize seen(qMin(viewport.width(), shown.width()),
                     qMin(viewport.height(), shown.height()));
    // The picture pixels under the shown ones, whole.
    const auto first = [](int at, int whole, int shown_whole) {
        return int(qint64(at) * whole / shown_whole);
    };
    const auto past = [](int at, int whole, int shown_whole) {
        return int(qMin<qint64>(whole, (qint64(at) * whole + shown_whole - 1) / shown_whole + 1));
    };
    const QPoint from(first(part.scrolled.x(), full.width(), shown.width()),
                      first(part.scrolled.y(), full.height(), shown.height()));
    const QPoint to(past(part.scrolled.x() + seen.width(), full.width(), shown.width()),
                    past(part.scrolled.y() + seen.height(), full.height(), shown.height()));
    part.region = QRect(from, QSize(to.x() - from.x(), to.y() - from.y()));
    return part;
}

std::unique_ptr<QWidget> show_early_part(const ViewRoom& room, const EarlyPart& part, QImage pixels,
                                         QRect source) {
    auto early = std::make_unique<EarlyScreenful>(room.P_out, std::move(pixels), source,
                                                  part.region.topLeft(), part.scrolled, part.full,
                                                  part.shown);
    early->setGeometry(
        QRect(QPoint(0, 0), part.region.isEmpty()
                                ? QSize()
                                : QSize(qMin(room.P_out->width(), part.shown.width()),
                                        qMin(room.P_out->height(), part.shown.height()))));
    early->show();
    early->raise();
    early->repaint();
    return early;
}

std::unique_ptr<QWidget> show_early_screenful(const ViewRoom& room, const QString& path,
                                              const EarlyPart& part) {
    if (part.region.isEmpty()) return nullptr;
    LoadedPicture pixels = load_picture_region(path, part.region);
    if (pixels.image.isNull()) return nullptr;
    const QRect source = pixels.image.rect();
    return show_early_part(room, part, std::move(pixels.image), source);
}
