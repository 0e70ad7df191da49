// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/simulation.h"

namespace varek {

Simulation::Simulation(const Settings& start) : model_(start) {}

const Bitmap& Simulation::RenderScene(const Settings& settings, Extended scale) {
  model_.Rotate(settings.turn_axis, settings.turn_vertical);
  return renderer_.RenderScene(model_.scene(), settings, scale);
}

}  // namespace varek
