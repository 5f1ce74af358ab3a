// SPDX-License-Identifier: MIT
#pragma once
// The status line: one message, kept whole, shown fitted to the label's
// width. A message names a file and then says why ("Could not write /a/b/
// ...name.bmp: file name too long: ..."); with a long path the reason is
// what the user needs, and it comes last. So the paths in the message are
// shortened in the middle until the whole line fits, the reason never, and
// the fitting is done again whenever the label's width changes. The whole
// message is the tool tip.

#include <QLabel>

class QFontMetrics;

class StatusLabel : public QLabel {
  public:
    explicit StatusLabel(QWidget* parent = nullptr);

    void set_message(const QString& message);
    const QString& message() const { return message_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void fit();
    QString message_;
};

// `message` as it fits into `width` pixels of `metrics`: the absolute paths
// in it (from a "/" that begins a word to the ": ", ", " or "; " that ends
// it, or the blank after its last "/") shortened in the middle, the longest
// first; when that is not enough, the rest cut at the end.
QString fitted_message(const QString& message, const QFontMetrics& metrics, int width);
