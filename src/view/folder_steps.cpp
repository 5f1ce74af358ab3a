// SPDX-License-Identifier: MIT
#include "view/folder_steps.h"

#include "form/picture_files.h"
#include "form/view_room.h"
#include "view/held_input.h"
#include "view/picture_loading.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

bool digit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The run of digits, or of anything else, that starts at `at`.
QStringView run_at(const QString& s, qsizetype at) {
    const bool digits = digit(s[at]);
    qsizetype end = at;
    while (end < s.size() && digit(s[end]) == digits)
        ++end;
    return QStringView(s).mid(at, end - at);
}

// Two runs of digits by their value, however many leading zeros they have.
int compare_numbers(QStringView a, QStringView b) {
    const auto significant = [](QStringView n) {
        qsizetype zeros = 0;
        while (zeros + 1 < n.size() && n[zeros] == QLatin1Char('0'))
            ++zeros;
        return n.mid(zeros);
    };
    const QStringView x = significant(a), y = significant(b);
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

void step(const ViewRoom& room, int direction) {
    const QString from = picture_being_opened(room);
    const QString what = direction > 0 ? QStringLiteral("next") : QStringLiteral("previous");
    if (from.isEmpty()) {
        room.report(QStringLiteral("No %1 picture: no picture is open.").arg(what),
                    ReportOutcome::done);
        return;
    }
    const QString to = neighbour_picture(from, direction);
    if (to.isEmpty()) {
        const QFileInfo info(from);
        room.report(QStringLiteral("No %1 picture: %2 is the %3 picture in %4.")
                        .arg(what, info.fileName(),
                             direction > 0 ? QStringLiteral("last") : QStringLiteral("first"),
                             QDir::toNativeSeparators(info.absolutePath())),
                    ReportOutcome::done);
        return;
    }
    const InputHeld held(room);
    const PictureOpening opening = open_picture_file(room, to);
    if (!opening.message.isEmpty()) room.report(opening.message, opening.outcome);
}

} // namespace

int natural_compare(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const QStringView x = run_at(a, i), y = run_at(b, j);
        const bool numbers = digit(x[0]) && digit(y[0]);
        const int order = numbers ? compare_numbers(x, y) : x.compare(y, Qt::CaseInsensitive);
        if (order != 0) return order;
        i += x.size();
        j += y.size();
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    return a.compare(b); // the same but for case or leading zeros: a fixed order
}

QStringList folder_pictures(const QString& folder) {
    QStringList names;
    for (const QFileInfo& entry :
         QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot))
        if (is_picture_name(entry.fileName())) names << entry.fileName();
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return natural_compare(a, b) < 0; });
    return names;
}

QString neighbour_picture(const QString& path, int step) {
    const QFileInfo shown(path);
    const QStringList names = folder_pictures(shown.absolutePath());
    const QString name = shown.fileName();
    const auto compare = [](const QString& a, const QString& b) {
        return natural_compare(a, b) < 0;
    };
    // Past the name going forward, before it going back; the name itself
    // need not be there.
    const qsizetype at =
        step > 0 ? std::upper_bound(names.begin(), names.end(), name, compare) - names.begin()
                 : std::lower_bound(names.begin(), names.end(), name, compare) - names.begin() - 1;
    if (at < 0 || at >= names.size()) return QString();
    return shown.absoluteDir().filePath(names[at]);
}

void next_picture(const ViewRoom& room) {
    step(room, +1);
}

void previous_picture(const ViewRoom& room) {
    step(room, -1);
}
