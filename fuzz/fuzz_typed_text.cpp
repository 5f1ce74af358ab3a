// SPDX-License-Identifier: MIT
// The classifier of typed cell text: numbers, text, empty, and the limits on
// what a cell holds.

#include "fuzz_input.h"
#include "workbook/spreadsheet.h"
#include "workbook/typed_text.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // UTF-16 units as they come, lone surrogates included: a user can paste anything.
    QString typed(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    if (size % 2 && size > 1 && data[0] & 1) // now and then a text past the cell's limit
        typed =
            typed.repeated(spreadsheet::max_cell_text / std::max<qsizetype>(typed.size(), 1) + 2);

    const spreadsheet::TypedValue v = spreadsheet::read_typed_text(typed);
    switch (v.kind) {
    case spreadsheet::TypedValue::Kind::number: {
        FUZZ_EXPECT(std::isfinite(v.number), typed);
        const auto again = spreadsheet::parse_plain_number(typed);
        FUZZ_EXPECT(again && *again == v.number, typed);
        break;
    }
    case spreadsheet::TypedValue::Kind::text:
        FUZZ_EXPECT(!v.text.isEmpty(), typed);
        FUZZ_EXPECT(v.text.size() <= spreadsheet::max_cell_text, QString::number(v.text.size()));
        FUZZ_EXPECT(!v.text.contains(u'\r'), QString());
        // Never cut inside a pair (a lone surrogate typed in stays as it was).
        FUZZ_EXPECT(!v.truncated || !typed.isValidUtf16() || !v.text.back().isHighSurrogate(),
                    QString());
        // Cut only at the limit, one unit short when a pair would be split.
        FUZZ_EXPECT(!v.truncated || v.text.size() >= spreadsheet::max_cell_text - 1, QString());
        break;
    case spreadsheet::TypedValue::Kind::empty:
        FUZZ_EXPECT(typed.isEmpty() || typed == QStringLiteral("'"), typed);
        break;
    }
    return 0;
}
