// SPDX-License-Identifier: MIT
#include "app/drop.h"

#include "form/F_main.h"
#include "form/picture_files.h"
#include "scale/scale_file.h"
#include "view/picture_loading.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

// The one local file a drop carries, or "" with the reason in *why.
QString dropped_file(const QMimeData* data, QString* why) {
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty()) {
        *why = QStringLiteral("Nothing to open: drop a picture or a .kvo file.");
        return QString();
    }
    if (urls.size() > 1) {
        *why = QStringLiteral("Drop one file at a time: %1 files were dropped.").arg(urls.size());
        return QString();
    }
    if (!urls.first().isLocalFile()) {
        *why = QStringLiteral("Could not open %1: not a local file")
                   .arg(urls.first().toDisplayString());
        return QString();
    }
    return urls.first().toLocalFile();
}

enum class Kind { Picture, ScaleFile, Unusable };

// What a drag carries, with the reason in *why when it cannot be used.
Kind dragged(const QMimeData* data, QString* path, QString* why) {
    *path = dropped_file(data, why);
    if (path->isEmpty()) return Kind::Unusable;
    if (is_scale_file_name(*path)) return Kind::ScaleFile;
    if (is_picture_name(*path)) return Kind::Picture;
    *why = QStringLiteral("Could not open %1: not a picture or a .kvo file").arg(*path);
    return Kind::Unusable;
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
        QString why;
        kind_ = dragged(event->mimeData(), &path_, &why);
        if (kind_ == Kind::Unusable) {
            f_.report(why);
            event->ignore();
            return;
        }
        event->acceptProposedAction();
    }

    void drop(QDropEvent* event) {
        bool taken = false;
        switch (kind_) {
        case Kind::ScaleFile:
            load_scale_defi(f_, path_);
            taken = true;
            break;
        case Kind::Picture:
            taken = open_picture_file(f_, path_);
            break;
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

void wire_drop(F_main& f) {
    f.setAcceptDrops(true);
    f.installEventFilter(new DropFilter(f));
}
