// SPDX-License-Identifier: MIT
// The scale definition file, read by "Open scale defi" into a main window
// with a picture, results and the scale bar shown: any file either changes
// the scale to the value it holds, converting the results, or is refused with
// the reason in the status bar and nothing changed.

#include "app/main_window.h"
#include "fuzz_input.h"
#include "platform/file_dialogs.h"
#include "scale/scale_file.h"
#include "scale/scale_limits.h"
#include "workbook/xls_application.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <memory>

namespace {

class FixedDialogs : public FileDialogs {
  public:
    QString answer;
    DialogAnswer ask(const DialogRequest&, QWidget*) override { return {answer}; }
};

FixedDialogs dialogs;
F_main* window = nullptr;
QString scale_path;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    static QTemporaryDir dir;
    static const std::unique_ptr<F_main> main_window =
        make_main_window(dialogs, XlsApplication::factory());
    F_main& f = *main_window;
    window = &f;
    f.show();
    const QString picture = dir.filePath(QStringLiteral("p.bmp"));
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!image.save(picture)) fuzz_fail("cannot write the picture", picture);
    dialogs.answer = picture;
    f.fo->trigger();
    if (f.pic_path != picture) fuzz_fail("cannot open the picture", f.status_text());
    scale_path = dir.filePath(QStringLiteral("s.kvo"));
    dialogs.answer = scale_path;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    F_main& f = *window;
    {
        QFile file(scale_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            fuzz_fail("cannot write the input file", scale_path);
    }
    f.unit_per_px = 0.5f;
    for (ClickLabel* result : {f.Lb_x, f.Lb_y, f.Lb_d})
        result->setText(QStringLiteral("30.00"));
    f.report(QString());

    f.fp->trigger();

    const float held =
        scale_in_file(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (usable_scale(double(held))) {
        FUZZ_EXPECT(f.unit_per_px == held && f.status_text().startsWith(QStringLiteral("Scale: ")),
                    f.status_text());
    } else {
        FUZZ_EXPECT(f.unit_per_px == 0.5f, f.status_text());
        FUZZ_EXPECT(f.status_text().contains(scale_path), f.status_text());
        FUZZ_EXPECT(f.Lb_d->text() == QStringLiteral("30.00"), f.Lb_d->text());
    }
    return 0;
}
