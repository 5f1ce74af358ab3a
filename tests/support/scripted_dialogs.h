// SPDX-License-Identifier: MIT
#pragma once
// File dialogs for tests: each request is recorded, and answered with the
// next prepared path ("" stands for cancel) and filter entry. A request with
// nothing prepared is answered with "" and counted as unexpected.

#include "platform/file_dialogs.h"

#include <QStringList>
#include <vector>

class ScriptedFileDialogs : public FileDialogs {
  public:
    void answer(const QString& path, int entry = 0) {
        answers_ << path;
        entries_.push_back(entry);
    }
    void cancel() { answer(QString()); }

    DialogAnswer ask(const DialogRequest& request, QWidget*) override {
        requests.push_back(request);
        if (answers_.isEmpty()) {
            ++unexpected;
            return {};
        }
        const int entry = entries_.front();
        entries_.erase(entries_.begin());
        return {answers_.takeFirst(), entry};
    }

    std::vector<DialogRequest> requests;
    int unexpected = 0;
    int pending() const { return static_cast<int>(answers_.size()); }

  private:
    QStringList answers_;
    std::vector<int> entries_;
};
