#include "app/recompute_chain.h"

#include <algorithm>

#include "model/scene.h"
#include "model/trajectories.h"
#include "render/scene_renderer.h"

namespace varek {

namespace {
Stage pending = Stage::None;
bool running = false;
bool closing = false;
ChainCounts counts;

struct RunningFlag {
  RunningFlag() { running = true; }
  ~RunningFlag() { running = false; }
};
}  // namespace

void RequestChain(Stage stage) {
  if (closing) return;
  pending = std::max(pending, stage);
  if (running) return;
  RunningFlag flag;
  while (pending != Stage::None && !closing) {
    const Stage pass = pending;
    pending = Stage::None;
    if (pass == Stage::Full) {
      InitApparatus();
      ComputeTrajectories();
      ++counts.full_passes;
    } else {
      ++counts.render_passes;
    }
    RenderScene();
  }
  pending = Stage::None;
}

bool ChainRunning() { return running; }

void MarkChainClosing() { closing = true; }
bool ChainClosing() { return closing; }

const ChainCounts& CountsOfChain() { return counts; }

void ResetChain() {
  pending = Stage::None;
  closing = false;
  counts = ChainCounts{};
}

}  // namespace varek
