// SPDX-License-Identifier: MIT
#include "app/command_line.h"

#include "form/F_main.h"
#include "form/picture_files.h"
#include "form/scale_room.h"
#include "form/view_room.h"
#include "scale/scale_file.h"
#include "view/held_input.h"
#include "view/picture_loading.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The options QApplication takes from every Qt program's command line (its
// own, the X11 platform's, the widget styles'), so that `kelvo -style Fusion`
// and the identifier a desktop passes when it starts the program again after
// a log-out work; a value is named when it takes one.
struct QtOption {
    const char* name;
    const char* value;
    const char* description;
};
constexpr QtOption qt_options[] = {
    {"platform", "name[:options]", "The platform plugin: xcb, wayland, offscreen..."},
    {"platformpluginpath", "path", "A folder to load platform plugins from."},
    {"platformtheme", "theme", "The platform theme."},
    {"plugin", "plugin", "An input plugin to load."},
    {"qwindowgeometry", "geometry", "The main window's geometry, as WxH+X+Y."},
    {"qwindowicon", "icon", "The main window's icon."},
    {"qwindowtitle", "title", "The main window's title."},
    {"reverse", nullptr, "Lay the window out from right to left."},
    {"session", "id", "Restore the state saved under that identifier at log-out."},
    {"style", "style", "The widget style, such as Fusion."},
    {"stylesheet", "file", "A style sheet for the widgets."},
    {"widgetcount", nullptr, "Print the number of widgets left at the end."},
    {"display", "display", "The X display to use."},
    {"geometry", "geometry", "The main window's geometry (X11)."},
    {"name", "name", "The application's resource name (X11)."},
    {"title", "title", "The application's title (X11)."},
    {"visual", "visual", "The X visual to use."},
    {"sync", nullptr, "Talk to the X server synchronously."},
    {"nograb", nullptr, "Never grab the pointer or the keyboard."},
    {"dograb", nullptr, "Grab even when running under a debugger."},
    {"qmljsdebugger", "port", "The QML debugger's port."},
};

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Displays help on commandline options.")};
    QCommandLineOption help_all{QStringLiteral("help-all"),
                                QStringLiteral("Displays help including Qt specific options.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Displays version information.")};

    // With `show_qt`, the usage lists Qt's options too (--help-all).
    explicit Parser(bool show_qt) {
        parser.setApplicationDescription(QStringLiteral("Measures lengths on pictures."));
        // -platform, -style: Qt's options begin with one dash.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({help, help_all, version});
        for (const QtOption& o : qt_options) {
            QCommandLineOption option(QString::fromLatin1(o.name),
                                      QString::fromLatin1(o.description));
            if (o.value) option.setValueName(QString::fromLatin1(o.value));
            if (!show_qt) option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
        parser.addPositionalArgument(QStringLiteral("picture"),
                                     QStringLiteral("A picture to open (BMP, JPEG, PNG, GIF, "
                                                    "TIFF, WebP)."),
                                     QStringLiteral("[picture]"));
        parser.addPositionalArgument(QStringLiteral("scale.kvo"),
                                     QStringLiteral("A scale definition file to load."),
                                     QStringLiteral("[scale.kvo]"));
    }

    // The usage as the user types it. The command line is read before the
    // application exists, when Qt does not know the program's name yet.
    QString usage() const {
        return parser.helpText().replace(QLatin1String("<executable_name>"),
                                         QCoreApplication::applicationName());
    }
};

// Writes `text` whole: output that went nowhere (a full disk, a closed pipe)
// is a failure. Returns why it failed; empty when written.
QString print(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    errno = 0;
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to) == size_t(bytes.size()) &&
        std::fflush(to) == 0;
    return written ? QString() : QString::fromLocal8Bit(std::strerror(errno ? errno : EIO));
}

CommandLine ends(int code) {
    CommandLine result;
    result.exit_code = code;
    return result;
}

// --help and --version end once their text is written; when it could not be,
// with exit code 1 and the reason on standard error.
CommandLine answer(const QString& text) {
    const QString why = print(stdout, text);
    if (why.isEmpty()) return ends(0);
    std::fprintf(stderr, "%s: could not write to standard output: %s\n",
                 qPrintable(QCoreApplication::applicationName()), qPrintable(why));
    return ends(1);
}

CommandLine refuse(const Parser& p, const QString& why) {
    // Exit code 2 says it even when standard error is gone too.
    print(stderr, why + QLatin1Char('\n') + p.usage());
    return ends(2);
}

// The argument that QCommandLineParser calls the unknown option `name`.
QString argument_for(const QStringList& arguments, const QString& name) {
    for (const QString& a : arguments.mid(1)) {
        if (a == QLatin1String("--")) break;
        const QString bare = a.startsWith(QLatin1String("--")) ? a.mid(2) : a.mid(1);
        if (a.startsWith(QLatin1Char('-')) &&
            (bare == name || bare.startsWith(name + QLatin1Char('='))))
            return a;
    }
    return QLatin1Char('-') + name;
}

} // namespace

CommandLine read_command_line(const QStringList& arguments) {
    Parser p(false);
    const QString program = QCoreApplication::applicationName();
    if (!p.parser.parse(arguments)) {
        QString why = p.parser.errorText();
        const QStringList unknown = p.parser.unknownOptionNames();
        const QString argument =
            unknown.isEmpty() ? QString() : argument_for(arguments, unknown.first());
        // A mistyped option stays an option; what looks like a file is named.
        if (argument.contains(QLatin1Char('.')) || QFileInfo::exists(argument))
            why += QStringLiteral("\nTo open a file whose name begins with a dash, use `%1 -- %2`.")
                       .arg(program, argument);
        return refuse(p, why);
    }
    if (p.parser.isSet(p.help) || p.parser.isSet(p.help_all)) {
        const Parser shown(p.parser.isSet(p.help_all));
        return answer(shown.usage());
    }
    if (p.parser.isSet(p.version)) {
        const QString line =
            program + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return answer(line);
    }
    CommandLine result;
    for (const QString& name : p.parser.positionalArguments()) {
        QString& slot = is_scale_file_name(name) ? result.scale : result.picture;
        if (!slot.isEmpty())
            return refuse(p, QStringLiteral("Name at most one picture and one scale file (.kvo)."));
        slot = name;
    }
    return result;
}

void open_from_command_line(F_main& f, const CommandLine& command_line) {
    // Both files' outcomes stay in the status line: a scale that loads must
    // not hide why the picture did not open.
    const JoinedReports together(f);
    if (!command_line.picture.isEmpty()) {
        const ViewRoom view = f.view_room();
        const InputHeld held(view);
        const PictureOpening opening =
            open_picture_file(view, QFileInfo(command_line.picture).absoluteFilePath());
        if (!opening.message.isEmpty()) f.report(opening.message, opening.outcome);
    }
    if (!command_line.scale.isEmpty())
        f.report(load_scale_defi(f.scale_room(), QFileInfo(command_line.scale).absoluteFilePath()));
}
