// SPDX-License-Identifier: MIT
#pragma once

struct MeasureRoom;

void Check_hideline_Click(const MeasureRoom& room);
