#include "app/command_line.h"

#include "view/picture_loading.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

// The usage as the user types it. The command line is read before the
// application exists, when Qt does not know the program's name yet.
QString usage(const QCommandLineParser& parser) {
    return parser.helpText().replace(QLatin1String("<executable_name>"),
                                     QCoreApplication::applicationName());
}

void print(std::FILE* to, const QString& text) {
    std::fputs(qPrintable(text), to);
    std::fflush(to);
}

} // namespace

CommandLine read_command_line(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures lengths on pictures."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("picture"),
                                 QStringLiteral("A picture to open (BMP, JPEG, PNG, GIF, TIFF, "
                                                "WebP)."),
                                 QStringLiteral("[picture]"));
    CommandLine result;
    // parse(), not process(): process() ends the program on its own and
    // with exit code 1 for an unknown option.
    if (!parser.parse(arguments)) {
        print(stderr, parser.errorText() + QLatin1Char('\n') + usage(parser));
        result.exit_code = 2;
        return result;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, usage(parser));
        result.exit_code = 0;
        return result;
    }
    if (parser.isSet(version)) {
        print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                          QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        result.exit_code = 0;
        return result;
    }
    const QStringList pictures = parser.positionalArguments();
    if (pictures.size() > 1) {
        print(stderr, QStringLiteral("Only one picture can be opened.\n") + usage(parser));
        result.exit_code = 2;
        return result;
    }
    if (!pictures.isEmpty()) result.picture = pictures.first();
    return result;
}

void open_from_command_line(F_main& f, const QString& picture) {
    if (picture.isEmpty()) return;
    open_picture_file(f, QFileInfo(picture).absoluteFilePath());
}
