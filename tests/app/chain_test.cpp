// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The recomputation chain under nested events: changes made from inside the
// message pump of a running computation.
#include <QTest>
#include <QTimer>
#include <functional>

#include "window_driver.h"

namespace varek::testing {
namespace {

// Counts the calls of the window's pump.
struct CountingPump : MessagePump {
  MessagePump* inner = nullptr;
  long calls = 0;
  void Pump() override {
    ++calls;
    inner->Pump();
  }
};

class ChainTest : public WindowTest {
 protected:
  // Runs `inside` from the message pump of the computation that `start`
  // begins (its first pass over the event loop), and records where it ran.
  void DuringComputation(const std::function<void()>& start, const std::function<void()>& inside) {
    CountingPump counting;
    counting.inner = &form->pump();
    form->simulation().SetMessagePump(&counting);
    // However fast the computation, its first pump call runs `inside`.
    form->pump().PassAtNextCall();
    QTimer::singleShot(0, [&, inside] {
      ran_inside = form->chain().Running();
      depth_inside = form->pump().Depth();
      pump_call_inside = counting.calls;
      inside();
    });
    start();
    Settle();
    form->simulation().SetMessagePump(&form->pump());
  }

  bool ran_inside = false;
  int depth_inside = 0;
  long pump_call_inside = 0;  // the pump call of the computation that ran `inside`
};

struct Change {
  const char* name;
  std::function<void(TForm1&)> apply;
};

std::vector<Vec3i> EndsOf(const StoredPaths& stored) {
  std::vector<Vec3i> ends;
  for (const auto& path : stored.paths) ends.push_back(path.empty() ? Vec3i{} : path.back());
  return ends;
}

TEST_F(ChainTest, StoredPathsMatchAFreshComputationAfterEverySettingsChange) {
  ShowScene();
  const Change changes[] = {
      {"voltage 500 V", [](TForm1& f) { f.ScrollBar4->SetPosition(500); }},
      {"current 1.234 A", [](TForm1& f) { f.ScrollBar7->SetPosition(1234); }},
      {"deflection on", [](TForm1& f) { Click(f.AblenkEin); }},
      {"alternating", [](TForm1& f) { Click(f.Wechselspannung); }},
      {"amplitude 50", [](TForm1& f) { f.ScrollBar3->SetPosition(50); }},
      {"current one step up",
       [](TForm1& f) { f.ScrollBar7->triggerAction(QScrollBar::SliderSingleStepAdd); }},
      {"steady", [](TForm1& f) { Click(f.Gleichspannung); }},
      {"deflection off", [](TForm1& f) { Click(f.AblenkAus); }},
      {"voltage 2000 V", [](TForm1& f) { f.ScrollBar4->SetPosition(2000); }},
  };
  for (const auto& c : changes) {
    const int passes = FullPasses();
    c.apply(*form);
    Settle();
    EXPECT_EQ(FullPasses(), passes + 1) << c.name;
    EXPECT_EQ(CurrentPaths(), FreshPaths()) << c.name;
  }
}

// A computation integrates the settings it started with: a change made inside
// its pump neither starts its second path at another voltage, nor bends a
// path half-way, nor draws a steady path with an old path 2; it comes with
// the next pass. Readouts change at once.
TEST_F(ChainTest, ChangeInsideTheMessagePumpReachesOnlyTheNextPass) {
  ShowScene();
  Click(form->AblenkEin);
  form->ScrollBar3->SetPosition(10);
  const std::vector<Vec3i> pair = {{314, -3, -2}, {314, 3, 2}};  // 1200 V, 1 A
  const struct {
    Change inside;
    TRadioButton* TForm1::*running_kind;
    std::vector<Vec3i> first_ends;
  } rows[] = {
      {{"voltage 50 V",
        [](TForm1& f) {
          f.ScrollBar4->SetPosition(50);
          EXPECT_EQ(f.Edit1->text(), "50");
        }},
       &TForm1::Wechselspannung,
       pair},
      {{"current 2 A",
        [](TForm1& f) {
          f.ScrollBar7->SetPosition(2000);
          EXPECT_EQ(f.Edit5->text(), "2");
        }},
       &TForm1::Wechselspannung,
       pair},
      {{"steady", [](TForm1& f) { Click(f.Gleichspannung); }}, &TForm1::Wechselspannung, pair},
      {{"alternating", [](TForm1& f) { Click(f.Wechselspannung); }},
       &TForm1::Gleichspannung,
       {pair[0]}},
  };
  for (const auto& row : rows) {
    const auto& [c, running_kind, first_ends] = row;
    Click((*form).*running_kind);
    form->ScrollBar4->SetPosition(1200);
    form->ScrollBar7->SetPosition(0);
    Settle();
    shown.clear();
    form->pump().ResetMaxDepth();
    const int passes = FullPasses();
    Settings started;
    DuringComputation([&] { form->ScrollBar7->SetPosition(1000); },
                      [&] {
                        started = form->CurrentSettings();
                        row.inside.apply(*form);
                      });
    std::erase_if(shown, [](const Shown& s) { return s.what != "scene"; });
    EXPECT_TRUE(ran_inside) << c.name;
    EXPECT_EQ(depth_inside, 1) << c.name;
    EXPECT_EQ(form->pump().MaxDepth(), 1) << c.name;
    EXPECT_EQ(FullPasses(), passes + 2) << c.name;
    ASSERT_EQ(shown.size(), 2u) << c.name << ": one picture per finished computation";
    EXPECT_EQ(shown[0].full_passes, passes + 1) << c.name;
    EXPECT_EQ(shown[0].paths, PathsFor(started)) << c.name;
    EXPECT_EQ(EndsOf(shown[0].paths), first_ends) << c.name;
    EXPECT_EQ(shown[1].full_passes, passes + 2) << c.name;
    EXPECT_EQ(shown[1].paths, FreshPaths()) << c.name;
  }
}

TEST_F(ChainTest, DraggedThumbInsideAComputationCoalescesIntoOneMorePass) {
  ShowScene();
  Click(form->Wechselspannung);
  Settle();
  const int passes = FullPasses();
  int steps = 0;
  QTimer drag;
  drag.setInterval(0);
  QObject::connect(&drag, &QTimer::timeout, [&] {
    if (++steps == 40) drag.stop();
    form->ScrollBar7->triggerAction(QScrollBar::SliderSingleStepAdd);
  });
  drag.start();
  form->pump().PassAtNextCall();  // from the first pump call on, the drag's steps keep coming
  form->ScrollBar4->SetPosition(50);
  Settle();
  EXPECT_EQ(form->ScrollBar7->Position(), 40);
  EXPECT_EQ(form->Edit5->text(), "0,04");
  EXPECT_EQ(form->pump().MaxDepth(), 1);
  EXPECT_EQ(FullPasses(), passes + 2)
      << "all 40 steps come within the first computation; one more pass follows them";
  EXPECT_EQ(CurrentPaths(), FreshPaths());
}

TEST_F(ChainTest, EndeInsideAComputationStopsThePathAndStartsNoOtherPass) {
  ShowScene();
  Click(form->Wechselspannung);
  Settle();
  const int passes = FullPasses();
  Settings started;
  // As in the running program: the computation starts from the event loop,
  // and the loop ends once the chain is back in it.
  QTimer::singleShot(0, [&] {
    DuringComputation([&] { form->ScrollBar4->SetPosition(50); },
                      [&] {
                        started = form->CurrentSettings();
                        form->ScrollBar7->SetPosition(100);  // would need another pass
                        QTest::mouseClick(form->Button2, Qt::LeftButton);
                      });
  });
  EXPECT_EQ(RunEventLoop(), 0) << "the loop ended because the window closed";
  EXPECT_TRUE(ran_inside);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(FullPasses(), passes + 1);
  const StoredPaths stored = CurrentPaths();
  const StoredPaths full = PathsFor(started);
  ASSERT_EQ(stored.total, 2);
  // Pump call k comes with sample k, which is kept.
  ASSERT_GE(pump_call_inside, 1);
  ASSERT_LT(pump_call_inside, static_cast<long>(full.paths[0].size()));
  EXPECT_EQ(stored.paths[0],
            std::vector<Vec3i>(full.paths[0].begin(), full.paths[0].begin() + pump_call_inside))
      << "path 1 ended at the sample of the pump that ran ENDE";
  EXPECT_EQ(stored.paths[1], full.paths[1]) << "path 2 starts afresh and runs in full";
  form->ScrollBar4->SetPosition(60);
  EXPECT_EQ(FullPasses(), passes + 1) << "a closing window computes no more";
}

}  // namespace
}  // namespace varek::testing
