// SPDX-License-Identifier: MIT
// A small window for the end-to-end tests: a press on it drags the files named
// on its command line, as a file manager does. When the drag ends it prints
// "taken" or "refused" and quits.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <cstdio>

class DragSource : public QWidget {
  public:
    explicit DragSource(QStringList files) : files_(std::move(files)) {
        setWindowTitle(QStringLiteral("drag source"));
        resize(120, 80);
    }

  protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* mime = new QMimeData;
        QList<QUrl> urls;
        for (const QString& file : files_)
            urls << QUrl::fromLocalFile(file);
        mime->setUrls(urls);
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        const Qt::DropAction done = drag->exec(Qt::CopyAction);
        std::puts(done == Qt::IgnoreAction ? "refused" : "taken");
        std::fflush(stdout);
        QApplication::quit();
    }

  private:
    QStringList files_;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DragSource source(QApplication::arguments().mid(1));
    source.move(0, 0);
    source.show();
    return QApplication::exec();
}
