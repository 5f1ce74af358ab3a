// SPDX-License-Identifier: MIT
#pragma once
// The zoom lock refuses the zoom keys and Ctrl+wheel with a word in the
// status line: a key or a wheel turn that silently does nothing leaves the
// user guessing. (The "in", "out" and "1/1" labels sit beside the check box
// that explains them.)

struct ViewRoom;

#include <QString>

// What the zoom keys and Ctrl+wheel say instead of zooming while "zoom lock"
// is ticked ("Zoom lock is on..."); empty while they may zoom.
QString zoom_lock_refusal(const ViewRoom& room);
// The box's click: says whether zooming is held or possible again.
void Check_zlock_Click(const ViewRoom& room);
