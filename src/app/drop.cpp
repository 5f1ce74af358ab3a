// SPDX-License-Identifier: MIT
#include "app/drop.h"

#include "form/F_main.h"
#include "form/picture_files.h"
#include "form/scale_room.h"
#include "form/view_room.h"
#include "scale/scale_file.h"
#include "view/held_input.h"
#include "view/picture_loading.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

enum class Kind { Picture, ScaleFile, Unusable };

struct Dragged {
    Kind kind = Kind::Unusable;
    QString path;
    QString error; // why it cannot be used; empty when it can
};

// The one local file a drop carries, or the reason it carries none.
Dragged dropped_file(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty())
        return {Kind::Unusable, QString(),
                QStringLiteral("Nothing to open: drop a picture or a .kvo file.")};
    if (urls.size() > 1)
        return {Kind::Unusable, QString(),
                QStringLiteral("Drop one file at a time: %1 files were dropped.").arg(urls.size())};
    if (!urls.first().isLocalFile())
        return {Kind::Unusable, QString(),
                QStringLiteral("Could not open %1: not a local file")
                    .arg(urls.first().toDisplayString())};
    return {Kind::Unusable, urls.first().toLocalFile(), QString()};
}

// What a drag carries, with the reason when it cannot be used.
Dragged dragged(const QMimeData* data) {
    Dragged got = dropped_file(data);
    if (!got.error.isEmpty()) return got;
    if (is_scale_file_name(got.path))
        got.kind = Kind::ScaleFile;
    else if (is_picture_name(got.path))
        got.kind = Kind::Picture;
    else
        got.error = QStringLiteral("Could not open %1: not a picture or a .kvo file").arg(got.path);
    return got;
}

class DropFilter : public QObject {
  public:
    explicit DropFilter(F_main& f) : QObject(&f), f_(f) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
            enter(static_cast<QDragEnterEvent*>(event));
            return true;
        case QEvent::DragMove:
            static_cast<QDropEvent*>(event)->acceptProposedAction();
            return true;
        case QEvent::Drop:
            drop(static_cast<QDropEvent*>(event));
            return true;
        default:
            return false;
        }
    }

  private:
    // A drag that cannot be used is refused as it enters, so the pointer
    // shows that nothing can be dropped; the status bar says why.
    // What the drag carries is read once, as it enters: from another program
    // the data is fetched over the display connection, and at the drop the
    // source may no longer answer for it.
    void enter(QDragEnterEvent* event) {
        const Dragged got = dragged(event->mimeData());
        kind_ = got.kind;
        path_ = got.path;
        if (kind_ == Kind::Unusable) {
            f_.report(got.error);
            event->ignore();
            return;
        }
        event->acceptProposedAction();
    }

    void drop(QDropEvent* event) {
        bool taken = false;
        switch (kind_) {
        case Kind::ScaleFile:
            f_.report(load_scale_defi(f_.scale_room(), path_));
            taken = true;
            break;
        case Kind::Picture: {
            const ViewRoom view = f_.view_room();
            const InputHeld held(view);
            const PictureOpening opening = open_picture_file(view, path_);
            if (!opening.message.isEmpty()) f_.report(opening.message, opening.outcome);
            taken = opening.opened();
            break;
        }
        case Kind::Unusable:
            break; // refused as it entered, and said why then
        }
        kind_ = Kind::Unusable;
        // The source learns whether the file was taken.
        if (taken)
            event->acceptProposedAction();
        else
            event->ignore();
    }

    F_main& f_;
    Kind kind_ = Kind::Unusable;
    QString path_;
};

} // namespace

void accept_drops(F_main& f) {
    f.setAcceptDrops(true);
    f.installEventFilter(new DropFilter(f));
}
