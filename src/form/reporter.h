// SPDX-License-Identifier: MIT
#pragma once
// How a subsystem speaks to the user: its room carries a Reporter, which
// opens the status line (and the progress of long work, form/long_work.h)
// and nothing else of the window. Only a handler reports: the procedures
// under it return what happened as StatusMessages, and the handler that owns
// the message hands them on.

#include <QString>
#include <vector>

class F_main;

enum class ReportOutcome { failure, done };

struct StatusMessage {
    QString text;
    ReportOutcome outcome = ReportOutcome::failure;
};
// Messages in the order they happened: each is logged, the last one stays.
using StatusMessages = std::vector<StatusMessage>;

class Reporter {
  public:
    explicit Reporter(F_main& f) : f_(&f) {}
    // As F_main::report: failures are logged as warnings, the line stays until replaced.
    void operator()(const QString& message, ReportOutcome outcome = ReportOutcome::failure) const;
    void operator()(const StatusMessage& message) const { (*this)(message.text, message.outcome); }
    void operator()(const StatusMessages& messages) const {
        for (const StatusMessage& message : messages)
            (*this)(message);
    }

  private:
    friend class LongWork; // the progress bar beside the status line
    F_main* f_;
};
