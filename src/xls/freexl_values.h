// SPDX-License-Identifier: MIT
#pragma once
// Cell values through libfreexl, read in a child process: a damaged file can
// crash the library or keep it busy, and neither may take the window (with
// the rows it has not saved yet) along. The child gets the open file and
// hands the values back through a pipe; it is killed after a few seconds.

#include <QString>

#include <utility>
#include <vector>

namespace xls {

struct FreexlValue {
    int type = 0; // FREEXL_CELL_*
    double number = 0;
    QString text; // text, and dates or times as libfreexl writes them
};

struct FreexlValues {
    std::vector<FreexlValue> values;
    QString error; // why libfreexl could not read them; empty on success
};
// The values of `cells` (row, column from 1) in the first sheet of the
// workbook open as `fd`.
FreexlValues freexl_values(int fd, const std::vector<std::pair<int, int>>& cells);

} // namespace xls
