#include "platform/file_dialogs.h"
#include "platform/xls/xls_application.h"
#include "shell/F_main.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvo"));
    QtFileDialogs dialogs;
    F_main window(dialogs, XlsApplication::factory());
    window.showMaximized();
    return QApplication::exec();
}
