// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The recomputation chain: InitApparatus, ComputeTrajectories, RenderScene.
//
// Handlers never run the stages themselves; they request a chain. With no
// chain running it runs at once, pass after pass until nothing is pending.
// A request made while a chain runs (from a handler inside its message pump)
// only raises the pending stage, a full pass beating a drawing, and returns;
// the running chain runs it after its current pass. So the pump never nests,
// every picture shows the complete paths of one computation, and after the
// last event the picture follows the settings then in force.
#pragma once

#include <functional>

#include "model/settings.h"
#include "render/bitmap.h"

namespace varek {

class Simulation;

enum class Stage {
  None,
  Render,  // RenderScene alone: the view changed
  Full,    // InitApparatus, ComputeTrajectories, RenderScene
};

struct ChainCounts {
  int full_passes = 0;
  int render_passes = 0;  // passes that only drew
};

class RecomputeChain {
 public:
  // `settings` reads the settings in force; `present` shows a finished picture.
  RecomputeChain(std::function<Simulation&()> simulation, std::function<Settings()> settings,
                 std::function<void(const Bitmap&)> present);

  void Request(Stage stage);
  bool Running() const { return running_; }

  // The window is closing: a running chain finishes its pass and starts no
  // other; later requests are ignored.
  void MarkClosing() { closing_ = true; }
  bool Closing() const { return closing_; }

  const ChainCounts& Counts() const { return counts_; }

 private:
  std::function<Simulation&()> simulation_;
  std::function<Settings()> settings_;
  std::function<void(const Bitmap&)> present_;
  Stage pending_ = Stage::None;
  bool running_ = false;
  bool closing_ = false;
  ChainCounts counts_;
};

}  // namespace varek
