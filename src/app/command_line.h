// SPDX-License-Identifier: MIT
#pragma once
// The command line: `kelvo [Qt options] [--] [picture] [scale.kvo]`, plus
// --help, --help-all and --version.

#include <QString>
#include <QStringList>
#include <optional>

class F_main;

struct CommandLine {
    // Set when the program should end at once with this exit code: after
    // --help or --version (0; 1 when that could not be written), or after a
    // wrong command line (2).
    std::optional<int> exit_code;
    QString picture; // the picture to open after start-up, or ""
    QString scale;   // the scale definition file to load after it, or ""
};

// Reads `arguments` (the program's name first). Qt's own options (-platform,
// -style...) are recognised with their values and left for
// QApplication. Usage and version go to standard output, a wrong command line
// and the usage to standard error.
CommandLine read_command_line(const QStringList& arguments);

// Opens the picture named on the command line as "Open picture" would with
// that file, then loads the scale file as "Open scale defi" would; relative
// names are taken from the current folder. The status line then says how
// each went, failures first.
void open_from_command_line(F_main& f, const CommandLine& command_line);
