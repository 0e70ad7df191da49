// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One simulation model: its scene, the integration and the view rotation.
// Every window, tool, test and browser page makes its own.
#pragma once

#include <memory>

#include "model/message_pump.h"
#include "model/scene.h"
#include "model/settings.h"

namespace varek {

class Model {
 public:
  // The start-up: cleared paths, beam speed for the start voltage, beam
  // origin, coil, rims, plates, screen centre and tube edges.
  explicit Model(const Settings& start = {});
  ~Model();
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  // Called every 30 integration steps; nullptr: nothing is pumped.
  void SetMessagePump(MessagePump* pump) { pump_ = pump; }

  // Rewrites the plate corners, the screen centre and the tube edge points.
  void InitApparatus();

  // InitApparatus, then integrates the path(s) for a copy of `settings`
  // taken now; a settings change made while it runs (inside the pump) does
  // not reach it. A call made from inside the pump of a running computation
  // does nothing: the window never makes one, its recomputation chain
  // (app/recompute_chain.h) runs the next computation after this one.
  void ComputeTrajectories(const Settings& settings);

  // "ENDE": the path under computation ends at the next pump; a following
  // path still runs in full. Does nothing while no computation runs.
  void RequestStop();
  bool ComputationRunning() const { return running_; }

  // View angles for the two view positions and the view copies of every
  // point. The apparatus is turned again only where its points, their view
  // copies or the angles differ from those of its last turn here.
  void Rotate(int turn_axis, int turn_vertical);

  const Scene& scene() const { return *scene_; }
  // For tests that stage a scene.
  Scene& mutable_scene() { return *scene_; }

 private:
  class Observer;
  struct TurnedApparatus;

  std::unique_ptr<Scene> scene_;
  std::unique_ptr<TurnedApparatus> turned_;  // the apparatus as last turned here
  MessagePump* pump_ = nullptr;
  bool running_ = false;
  bool stop_requested_ = false;
};

}  // namespace varek
