#pragma once
// File dialogs for tests: each request is recorded, and answered with the
// next prepared path ("" stands for cancel). A request with nothing prepared
// is answered with "" and counted as unexpected.

#include "platform/file_dialogs.h"

#include <QStringList>
#include <vector>

class ScriptedFileDialogs : public FileDialogs {
  public:
    void answer(const QString& path) { answers_ << path; }
    void cancel() { answers_ << QString(); }

    QString ask(const DialogRequest& request, QWidget*) override {
        requests.push_back(request);
        if (answers_.isEmpty()) {
            ++unexpected;
            return QString();
        }
        return answers_.takeFirst();
    }

    std::vector<DialogRequest> requests;
    int unexpected = 0;
    int pending() const { return static_cast<int>(answers_.size()); }

  private:
    QStringList answers_;
};
