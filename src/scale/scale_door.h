// SPDX-License-Identifier: MIT
#pragma once
// The scale's door (form/scale_door.h) over its room, for the window to
// hold; scale's wiring installs it.

#include "form/scale_door.h"

#include <memory>

struct ScaleRoom;

std::unique_ptr<ScaleDoor> make_scale_door(const ScaleRoom& room);
