// SPDX-License-Identifier: MIT
#include "app/command_line.h"
#include "app/main_window.h"
#include "form/F_main.h"
#include "platform/file_dialogs.h"
#include "platform/input_log.h"
#include "platform/recent_pictures.h"
#include "version.h"
#include "workbook/workbook_formats.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <csignal>

int main(int argc, char** argv) {
    // A closed standard output (kelvo --version | true) is a failed write
    // that --help and --version report, with exit code 1, not a SIGPIPE that
    // ends the process unannounced.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication::setApplicationName(QStringLiteral("kelvo"));
    QApplication::setApplicationVersion(QStringLiteral(KELVO_VERSION));
    // Read before the application connects to the display, so --help and
    // --version answer on a terminal without one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command_line = read_command_line(arguments);
    if (command_line.exit_code) return *command_line.exit_code;

    QApplication app(argc, argv);
    log_handled_input_when_asked(app);
    QApplication::setDesktopFileName(QStringLiteral("org.kelvo.kelvo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvo/kelvo.png")));
    QtFileDialogs dialogs;
    const std::unique_ptr<F_main> main_window =
        make_main_window(dialogs, workbook_applications(), SystemEnding::answered);
    F_main& window = *main_window;
    window.showMaximized();
    // Once the event loop runs: the picture is then fitted into the shown
    // viewport, as a picture opened from the menu is.
    QTimer::singleShot(0, &window,
                       [&window, &command_line] { open_from_command_line(window, command_line); });
    const int code = QApplication::exec();
    finish_recent_pictures();
    return code;
}
