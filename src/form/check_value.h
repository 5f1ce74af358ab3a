// SPDX-License-Identifier: MIT
#pragma once

class QCheckBox;

// A check box's value as the handlers read it: 0 unticked, 1 ticked.
int value(const QCheckBox* box);
