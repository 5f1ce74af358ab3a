#include "shell/drop.h"

#include "scale/scale_file.h"
#include "shell/F_main.h"
#include "shell/picture_files.h"
#include "view/picture_loading.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

// The one local file a drop carries, or "" with the reason in *why.
QString dropped_file(const QMimeData* data, QString* why) {
    const QList<QUrl> urls = data->hasUrls() ? data->urls() : QList<QUrl>();
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

class DropFilter : public QObject {
  public:
    explicit DropFilter(F_main& f) : QObject(&f), f_(f) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            // Everything is let in, so a drop that cannot be used can still
            // say why in the status bar.
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
    void drop(QDropEvent* event) {
        QString why;
        const QString path = dropped_file(event->mimeData(), &why);
        bool taken = false;
        if (path.isEmpty()) {
            f_.report(why);
        } else if (is_scale_file_name(path)) {
            load_scale_defi(f_, path);
            taken = true;
        } else if (is_picture_name(path)) {
            taken = open_picture_file(f_, path);
        } else {
            f_.report(QStringLiteral("Could not open %1: not a picture or a .kvo file").arg(path));
        }
        // The source learns whether the file was taken.
        if (taken)
            event->acceptProposedAction();
        else
            event->ignore();
    }

    F_main& f_;
};

} // namespace

void wire_drop(F_main& f) {
    f.setAcceptDrops(true);
    f.installEventFilter(new DropFilter(f));
}
