// SPDX-License-Identifier: MIT
#pragma once
// The tutorial window: five topic labels above a text box, like tabs, and an
// "exit" label. It is a top-level window of its own, not modal and without an
// owner, loaded when shown and discarded when closed.

#include <QPointer>
#include <QWidget>

#include <array>

class ClickLabel;
class F_main;
class QPlainTextEdit;

class F_tut : public QWidget {
    Q_OBJECT
  public:
    explicit F_tut(F_main& window);

    ClickLabel* L_measure = nullptr;
    ClickLabel* L_setscale = nullptr;
    ClickLabel* L_savexls = nullptr;
    ClickLabel* L_savepic = nullptr;
    ClickLabel* L_savedefi = nullptr;
    QPlainTextEdit* T_mes = nullptr;
    ClickLabel* L_exit = nullptr;

    // The topic labels in the order their marks are set.
    std::array<ClickLabel*, 5> topics() const {
        return {L_measure, L_savepic, L_savexls, L_setscale, L_savedefi};
    }

    // The main window, while it exists.
    QPointer<F_main> main_window;

  protected:
    void closeEvent(QCloseEvent* event) override;
};

// "Tutorial (&U)": loads the window unless it is loaded, and brings it up.
void iu_Click(F_main& f);
void F_tut_Load(F_tut& t);
// Runs however the window closes: "exit", its close button, the main window.
void F_tut_Unload(F_tut& t);
// Marks the clicked topic, unmarks the others, and shows the topic's text.
void topic_Click(F_tut& t, ClickLabel* topic);
void L_exit_Click(F_tut& t);

// The text a topic label shows, line breaks as CR LF.
QString topic_text(const F_tut& t, const ClickLabel* topic);
// Whether a topic label is shown as the selected one.
bool is_marked(const ClickLabel* topic);
