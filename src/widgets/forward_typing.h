// SPDX-License-Identifier: MIT
#pragma once
// Typing meant for a text box that lands on a button: printable keys pressed
// while `from` has the focus go to the end of `to`, and the focus stays on
// `from`. Space, Enter, keys held with Ctrl, Alt or Meta, and keys without
// text stay with `from`.

class QPlainTextEdit;
class QWidget;

void forward_typing(QWidget* from, QPlainTextEdit* to);
