// SPDX-License-Identifier: MIT
#include "platform/recent_pictures.h"

#include "platform/user_settings.h"

#include <QFileInfo>
#include <QThreadPool>
#include <mutex>
#include <optional>

namespace {
const QString key = QStringLiteral("pictures/recent");

QString absolute(const QString& file) {
    return QFileInfo(file).absoluteFilePath();
}

// The list lives in memory once changed and is written behind, by one thread
// in the order of the changes: the settings file is synced to the disk, some
// milliseconds every open would otherwise wait for before it completes.
class Recent {
  public:
    Recent() { writer_.setMaxThreadCount(1); }

    QStringList list() {
        const std::lock_guard lock(mutex_);
        return current();
    }
    // `change` turns the list as it is into the one to keep.
    template <class Change> void change(Change&& change) {
        const std::lock_guard lock(mutex_);
        QStringList files = current();
        if (!change(files)) return;
        latest_ = files.mid(0, recent_picture_count);
        // A settings file that cannot be written costs only the list; the
        // picture itself is not affected, so nothing is said.
        writer_.start([files = *latest_] {
            QSettings s = user_settings();
            s.setValue(key, files);
            s.sync();
        });
    }
    void finish() { writer_.waitForDone(); }

  private:
    // The list as last changed, or as the settings file holds it.
    QStringList current() const {
        if (latest_) return *latest_;
        QStringList files = user_settings().value(key).toStringList();
        files.removeAll(QString());
        return files.mid(0, recent_picture_count);
    }

    std::mutex mutex_;
    std::optional<QStringList> latest_;
    QThreadPool writer_;
};

Recent& recent() {
    static Recent r;
    return r;
}
} // namespace

QStringList recent_pictures() {
    return recent().list();
}

void remember_recent_picture(const QString& file) {
    const QString path = absolute(file);
    recent().change([&](QStringList& files) {
        files.removeAll(path);
        files.prepend(path);
        return true;
    });
}

void forget_recent_picture(const QString& file) {
    const QString path = absolute(file);
    recent().change([&](QStringList& files) { return files.removeAll(path) > 0; });
}

void finish_recent_pictures() {
    recent().finish();
}
