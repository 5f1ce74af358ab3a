// SPDX-License-Identifier: MIT
#pragma once
// The program's log: every failure the status bar reports also goes here
// (category "kelvo", warnings shown by default), and every success at the
// info level (shown with QT_LOGGING_RULES="kelvo.info=true").

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(kelvo_log)
