#pragma once
// The command line: `kelvo [picture]`, plus --help and --version.

#include <QString>
#include <QStringList>
#include <optional>

class F_main;

struct CommandLine {
    // Set when the program should end at once with this exit code: after
    // --help or --version (0), or after a wrong command line (2).
    std::optional<int> exit_code;
    QString picture; // the picture to open after start-up, or ""
};

// Reads `arguments` (the program's name first). Usage and version go to
// standard output, a wrong command line and the usage to standard error.
CommandLine read_command_line(const QStringList& arguments);

// Opens the picture named on the command line as "Open picture" would with
// that file, relative names taken from the current folder.
void open_from_command_line(F_main& f, const QString& picture);
