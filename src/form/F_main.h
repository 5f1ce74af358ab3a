// SPDX-License-Identifier: MIT
#pragma once
// The main window: it owns every window element and every piece of run-time
// state, under the names the whole program uses. Handlers and procedures live
// in their subsystem folders as free functions over the subsystem's room, the
// view of the window this class hands out (form/rooms.cpp); this class only
// builds the elements and holds the state. The program (app/main_window.h)
// wires events to handlers and runs the start-up sequence.

#include "form/check_value.h"
#include "form/measuring_state.h"
#include "form/reporter.h"
#include "form/view_mapping.h"
#include "platform/colour.h"
#include "platform/file_dialogs.h"
#include "platform/file_identity.h"
#include "widgets/click_label.h"
#include "widgets/line_object.h"
#include "widgets/picture_box.h"
#include "widgets/status_label.h"
#include "workbook/spreadsheet.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class F_tut;
class MeasuringDoor;
class PointerTool;
class ScaleDoor;
class WorkbookSession;
struct MeasureRoom;
struct OutputRoom;
struct ScaleRoom;
struct ViewRoom;

class F_main : public QMainWindow {
    Q_OBJECT
  public:
    // `dialogs` must outlive the window. `spreadsheets` makes the spreadsheet
    // application when a workbook is opened, for the format its name says.
    F_main(FileDialogs& dialogs, SpreadsheetFactory spreadsheets, QWidget* parent = nullptr);
    ~F_main() override;

    // ---- Elements (public: handlers in every subsystem reach them by name) ----
    QWidget* client = nullptr; // the client area: everything but menu and status bar

    PictureBox* P_out = nullptr;  // viewport, clips the picture area
    PictureBox* P_vers = nullptr; // version panel
    PictureBox* Img = nullptr;    // the version picture
    PictureBox* P_in = nullptr;   // picture area
    PictureBox* P_sub = nullptr;  // hidden work surface

    // Overlay lines inside P_in.
    LineObject* L_trace_x = nullptr;
    LineObject* L_trace_y = nullptr;
    LineObject* Line_scale = nullptr;
    LineObject* L_d = nullptr;
    LineObject* L_x0 = nullptr;
    LineObject* L_y0 = nullptr;
    LineObject* L_x1 = nullptr;
    LineObject* L_y1 = nullptr;
    LineObject* Line_ax0 = nullptr;
    LineObject* Line_ax1 = nullptr;
    LineObject* Line_eq = nullptr;
    // The chain: L_m[0] is the hidden template, L_m[1..seg_count] the elements.
    std::vector<LineObject*> L_m;
    ClickLabel* L_div = nullptr;

    QScrollBar* VS_main = nullptr;
    QScrollBar* HS_main = nullptr;

    QFrame* Frm_result = nullptr;
    QCheckBox* Check_zlock = nullptr;
    ClickLabel* L_in = nullptr;
    ClickLabel* L_even = nullptr;
    ClickLabel* L_out = nullptr;
    ClickLabel* L_zval = nullptr;
    ClickLabel* Lx = nullptr;
    ClickLabel* Ly = nullptr;
    ClickLabel* Ld = nullptr;
    ClickLabel* Lb_x = nullptr;
    ClickLabel* Lb_y = nullptr;
    ClickLabel* Lb_d = nullptr;
    QPushButton* Command_excel = nullptr;
    QPushButton* Command_new = nullptr;
    QPlainTextEdit* Text_comment = nullptr;
    QCheckBox* Check_lock = nullptr;
    QCheckBox* Check_focus = nullptr;
    QCheckBox* Check_hideline = nullptr;
    std::array<QRadioButton*, 3> Option_tracer{};
    QCheckBox* Check_hidescale = nullptr;
    QCheckBox* Check_hidedivisions = nullptr;
    QFrame* Line1 = nullptr;
    QPushButton* Command_set = nullptr;
    ClickLabel* Label_as = nullptr;
    QLineEdit* Text_scale = nullptr;

    QMenu* ff = nullptr;
    QAction* fo = nullptr;
    QAction* fp = nullptr;
    QAction* fs = nullptr;
    QAction* fl = nullptr;
    QAction* recovered_workbooks = nullptr; // opens their folder; shown while it holds any
    QAction* fx = nullptr;
    QMenu* ii = nullptr;
    QAction* iu = nullptr;
    QAction* iv = nullptr;

    // ---- State variables ----
    quint8 F_tut_Vw = 0;            // 1 while the tutorial window is shown
    QString pic_path;               // the picture shown; empty before the first one
    FileIdentity full_picture_file; // pic_path as it was when full_picture was decoded
    MeasuringState m_state =
        MeasuringState::no_start;          // pointer state machine (measure/pointer_input.cpp)
    float pt_x = 0, pt_y = 0;              // last fixed point, P_in pixels
    qint32 seg_count = 0;                  // chain elements L_m[1..seg_count]
    float sum_x = 0, sum_y = 0, sum_d = 0; // totals of the completed chain elements
    float unit_per_px = 0;                 // real units per picture pixel at 100%
    // The zoom; set_view_zoom (form/view_mapping.h) sets it and renders L_zval.
    ViewMapping zoom;
    // The full-size decoded picture kept between zoom steps; null when not kept.
    QImage full_picture;
    // full_picture shrunk by whole factors (each pixel the average of a block
    // that many pixels wide and high: the two sizes' ratios), made from it
    // when a zoom far below 100% first needs it; null until then, and
    // whenever full_picture changes.
    QImage smaller_picture;
    // The memory of the full-size picture shown before, its pixels no longer
    // wanted: the next picture decoded at full size (an open, the next one
    // ahead) is decoded into it, skipping the system's zeroing of fresh
    // pages. Null when there is none.
    QImage spare_memory;

    // The open workbook (xl_app, xl_book, xl_row, xl_open and the rows not
    // saved yet): a child of the window, made when the spreadsheet export is
    // wired (output/workbook_session).
    WorkbookSession* workbook = nullptr;

    // ---- Services ----
    FileDialogs& dialogs;
    SpreadsheetFactory spreadsheets;
    QPointer<F_tut> tutorial; // the tutorial window while it is loaded
    // Takes presses and moves on P_in before measuring (the calibration).
    std::unique_ptr<PointerTool> pointer_tool;
    // What measuring lets the subsystems above it ask, and what the scale
    // lets them read; installed by measure's and scale's wiring.
    std::unique_ptr<MeasuringDoor> measuring_door;
    std::unique_ptr<ScaleDoor> scale_door;

    // ---- Rooms (form/rooms.cpp) ----
    // Each subsystem works on a view of the window naming exactly what it
    // owns or reads; its wiring makes it here. The scale's room needs
    // measuring's door, the view's and the output's both doors: they are made
    // after the doors are installed.
    MeasureRoom measure_room();
    ScaleRoom scale_room();
    OutputRoom output_room();
    ViewRoom view_room();

    // True once the start-up sequence has run; the layout waits for it.
    bool started = false;

    // Says in the status bar what failed, with the file and the reason, or
    // what was done. The line stays until the next report replaces it; menus'
    // status tips do not clear it. Failures are logged too.
    using Outcome = ReportOutcome;
    void report(const QString& message, Outcome outcome = Outcome::failure);
    // What a procedure returned for its caller to say (form/reporter.h), in order.
    void report(const StatusMessage& message) { report(message.text, message.outcome); }
    void report(const StatusMessages& messages) {
        for (const StatusMessage& message : messages)
            report(message);
    }
    // The status line as it reads now (empty when nothing was reported).
    QString status_text() const;

    // Set when a close was refused because rows could not be kept anywhere;
    // the next close goes through.
    bool close_refused = false;

    // Runs however the window closes, installed by the program (the unload
    // procedure). Setting cancel to 1 keeps the window open.
    std::function<void(int& cancel)> on_unload;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    friend class LongWork;
    friend class JoinedReports;
    StatusLabel* status_line = nullptr;
    // Where reports go while a JoinedReports gathers them; null otherwise.
    struct Report {
        QString message;
        Outcome outcome;
    };
    std::vector<Report>* gathered_reports = nullptr;
    // How far long work got (form/long_work.h); hidden while there is none.
    QProgressBar* progress_bar = nullptr;
    void build_elements();
    void build_menus();
};

// Several steps taken as one (the files named on the command line): while
// it lives, each report is logged as ever but the status line waits, and it
// then shows every message, failures first, joined by "; ". Without it the
// last step's message would hide why an earlier one failed.
class JoinedReports {
  public:
    explicit JoinedReports(F_main& f);
    ~JoinedReports();
    JoinedReports(const JoinedReports&) = delete;
    JoinedReports& operator=(const JoinedReports&) = delete;

  private:
    using Report = F_main::Report;
    F_main& f_;
    std::vector<Report>* outer_;
    std::vector<Report> reports_;
};
