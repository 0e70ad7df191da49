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

namespace varek {

enum class Stage {
  None,
  Render,  // RenderScene alone: the view changed
  Full,    // InitApparatus, ComputeTrajectories, RenderScene
};

void RequestChain(Stage stage);
bool ChainRunning();

// The window is closing: a running chain finishes its pass and starts no
// other; later requests are ignored.
void MarkChainClosing();
bool ChainClosing();

struct ChainCounts {
  int full_passes = 0;
  int render_passes = 0;  // passes that only drew
};
const ChainCounts& CountsOfChain();

// A fresh window: not closing, nothing pending, counts zero.
void ResetChain();

}  // namespace varek
