// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recompute_chain.h"

#include <algorithm>
#include <utility>

#include "render/simulation.h"

namespace varek {

RecomputeChain::RecomputeChain(std::function<Simulation&()> simulation,
                               std::function<Settings()> settings,
                               std::function<void(const Bitmap&)> present)
    : simulation_(std::move(simulation)),
      settings_(std::move(settings)),
      present_(std::move(present)) {}

void RecomputeChain::Request(Stage stage) {
  if (closing_) return;
  pending_ = std::max(pending_, stage);
  if (running_) return;
  struct RunningFlag {
    bool& flag;
    explicit RunningFlag(bool& f) : flag(f) { flag = true; }
    ~RunningFlag() { flag = false; }
  } running(running_);
  while (pending_ != Stage::None && !closing_) {
    const Stage pass = pending_;
    pending_ = Stage::None;
    Simulation& simulation = simulation_();
    if (pass == Stage::Full) {
      simulation.ComputeTrajectories(settings_());
      ++counts_.full_passes;
    } else {
      ++counts_.render_passes;
    }
    present_(simulation.RenderScene(settings_()));
  }
  pending_ = Stage::None;
}

}  // namespace varek
