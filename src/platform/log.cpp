// SPDX-License-Identifier: MIT
#include "platform/log.h"

Q_LOGGING_CATEGORY(kelvo_log, "kelvo", QtWarningMsg)
