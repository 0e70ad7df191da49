// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the end marks of the paths lie in the scene picture, relative to the
// picture of the screen's centre, as a short German sentence: what the
// browser edition tells a screen reader after each picture.
#pragma once

#include <string>

#include "model/scene.h"

namespace varek {

// Reads the view copies: call it after the scene was turned and drawn.
// Distances are picture pixels between the marks' centres, rounded.
std::string DescribeBeamMarks(const Scene& scene);

}  // namespace varek
