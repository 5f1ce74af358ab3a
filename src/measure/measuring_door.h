// SPDX-License-Identifier: MIT
#pragma once
// Measuring's door (form/measuring_door.h) over its room, for the window to
// hold; measure's wiring installs it.

#include "form/measuring_door.h"

#include <memory>

struct MeasureRoom;

std::unique_ptr<MeasuringDoor> make_measuring_door(const MeasureRoom& room);
