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

Model::Model(const Settings& start) : scene_(std::make_unique<Scene>()) {
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
  RotateScene(*scene_, turn_axis, turn_vertical);
}

}  // namespace varek
