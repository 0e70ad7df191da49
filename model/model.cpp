// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model.h"

#include "model/rotation.h"
#include "model/trajectories.h"

namespace varek {

// Pumps the window's messages every 30 steps and ends the path when a stop
// was requested inside the pump.
class Model::Observer : public StepObserver {
 public:
  explicit Observer(Model& model) : model_(model) {}
  bool EndPathNow() override {
    if (model_.pump_ != nullptr) model_.pump_->Pump();
    const bool stop = model_.stop_requested_;
    model_.stop_requested_ = false;  // the next path runs in full
    return stop;
  }

 private:
  Model& model_;
};

// The apparatus's points and view copies after a turn, with the turn's
// angles: a picture of the same view turns only its paths.
struct Model::TurnedApparatus {
  double angle1 = 0, angle2 = 0;
  CoilArray coil, coil_view;
  RingArray screen_ring, screen_ring_view, rear_ring, rear_ring_view;
  PlateArray plates, plate_view;
  SourceArray source, source_view;
  Vec3i screen_centre, screen_centre_view;
  TubeEdgeArray tube_edges, tube_edge_view;
  bool taken = false;

  // Copies to or from the scene (the one's arrays in the other's order).
  template <typename Copy>
  void Each(Scene& s, Copy copy) {
    copy(coil, s.CoilPoints), copy(coil_view, s.CoilView);
    copy(screen_ring, s.ScreenRing), copy(screen_ring_view, s.ScreenRingView);
    copy(rear_ring, s.RearRing), copy(rear_ring_view, s.RearRingView);
    copy(plates, s.PlatePoints), copy(plate_view, s.PlateView);
    copy(source, s.SourcePoints), copy(source_view, s.SourceView);
    copy(screen_centre, s.ScreenCentre), copy(screen_centre_view, s.ScreenCentreView);
    copy(tube_edges, s.TubeEdgePoints), copy(tube_edge_view, s.TubeEdgeView);
  }

  bool Matches(Scene& s) {
    if (!taken || angle1 != s.ViewAngle1 || angle2 != s.ViewAngle2) return false;
    bool same = true;
    Each(s, [&](const auto& kept, const auto& now) { same = same && kept == now; });
    return same;
  }

  void Take(Scene& s) {
    angle1 = s.ViewAngle1;
    angle2 = s.ViewAngle2;
    Each(s, [](auto& kept, const auto& now) { kept = now; });
    taken = true;
  }
};

Model::Model(const Settings& start)
    : scene_(std::make_unique<Scene>()), turned_(std::make_unique<TurnedApparatus>()) {
  StartUpScene(*scene_, start.voltage);
  InitApparatus();
}

Model::~Model() = default;

void Model::InitApparatus() { varek::InitApparatus(*scene_); }

void Model::ComputeTrajectories(const Settings& settings) {
  if (running_) return;
  // Clears the running mark also when a handler in the pump throws.
  struct Running {
    Model& model;
    explicit Running(Model& m) : model(m) { model.running_ = true; }
    ~Running() {
      model.running_ = false;
      model.stop_requested_ = false;
    }
  } running(*this);

  Observer observer(*this);
  const Settings snapshot = settings;
  InitApparatus();
  IntegratePaths(*scene_, snapshot, observer);
}

void Model::RequestStop() {
  if (running_) stop_requested_ = true;
}

void Model::Rotate(int turn_axis, int turn_vertical) {
  Scene& s = *scene_;
  s.ViewAngle1 = ViewAngleFor(turn_axis);
  s.ViewAngle2 = ViewAngleFor(turn_vertical);
  RotateTrajectories(s, s.ViewAngle1, s.ViewAngle2);
  if (turned_->Matches(s)) return;
  RotateApparatus(s, s.ViewAngle1, s.ViewAngle2);
  turned_->Take(s);
}

}  // namespace varek
