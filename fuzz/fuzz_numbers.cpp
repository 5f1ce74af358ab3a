// SPDX-License-Identifier: MIT
// The leading-number parser and the "#.00" / "#.000" formatters: captions are
// state, so what the program writes it must read back to the same value.

#include "form/numbers.h"
#include "fuzz_input.h"

#include <QRegularExpression>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const double d = in.value<double>();
    const float f = in.value<float>();
    const QString typed = in.text(200);

    // Any text gives some number, never a crash; digits never make a NaN.
    const double read = leading_number(typed);
    FUZZ_EXPECT(!std::isnan(read) || typed.contains(QLatin1String("nan"), Qt::CaseInsensitive),
                typed);

    static const QRegularExpression two(QStringLiteral("^-?[0-9]*\\.[0-9]{2}$"));
    static const QRegularExpression three(QStringLiteral("^-?[0-9]*\\.[0-9]{3}$"));
    for (const double v : {d, double(f)}) {
        if (!std::isfinite(v) || std::fabs(v) >= 1e15) continue;
        const QString s2 = format_2dp(v), s3 = format_3dp(v);
        FUZZ_EXPECT(two.match(s2).hasMatch(), s2);
        FUZZ_EXPECT(three.match(s3).hasMatch(), s3);
        // Read back within half a unit of the last place (and the double's own error).
        // A double shows 15 significant digits, as double precision prints.
        const double slack = std::fabs(v) * 5e-15;
        FUZZ_EXPECT(std::fabs(leading_number(s2) - v) <= 0.005 + slack, s2);
        FUZZ_EXPECT(std::fabs(leading_number(s3) - v) <= 0.0005 + slack, s3);
    }
    if (std::isfinite(f) && std::fabs(f) < 1e15f) {
        // A float shows its 7 significant digits, as single precision prints.
        FUZZ_EXPECT(std::fabs(leading_number(format_2dp(f)) - double(f)) <=
                        0.005 + std::fabs(f) * 5e-7,
                    format_2dp(f));
        FUZZ_EXPECT(two.match(format_2dp(f)).hasMatch() && three.match(format_3dp(f)).hasMatch(),
                    format_3dp(f));
    }

    const double r = round_half_even(d);
    if (std::isfinite(d)) FUZZ_EXPECT(std::fabs(r - d) <= 0.5 && r == std::floor(r), QString());
    const int i = round_to_int(d);
    if (std::isfinite(d) && std::fabs(d) < 2e9) FUZZ_EXPECT(double(i) == r, QString::number(d));
    return 0;
}
