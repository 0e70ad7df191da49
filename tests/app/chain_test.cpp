// The recomputation chain under nested events: changes made from inside the
// message pump of a running computation.
#include <QTest>
#include <QTimer>
#include <QRadioButton>
#include <functional>

#include "app/qt_message_pump.h"
#include "app/recompute_chain.h"
#include "model/scene.h"
#include "window_driver.h"

namespace varek::testing {
namespace {

class ChainTest : public WindowTest {
 protected:
  // Runs `inside` from the first message pump of the computation that
  // `start` begins, and records where it ran.
  void DuringComputation(const std::function<void()>& start, const std::function<void()>& inside) {
    QTimer::singleShot(0, [&, inside] {
      ran_inside = ChainRunning();
      depth_inside = PumpDepth();
      inside();
    });
    start();
    Settle();
  }

  // TrajectoryTotal of every scene drawn while the kind of voltage is
  // switched from inside a 50- or 51-V computation of the other kind.
  std::vector<int> PathCountsDrawnWhileSwitching(QRadioButton* from, QRadioButton* to) {
    Click(form->Wechselspannung);  // leaves a path 2 behind
    Click(from);
    Settle();
    shown.clear();
    const int slowest = form->ScrollBar4->Position() == 50 ? 51 : 50;  // must be a change
    DuringComputation([&] { form->ScrollBar4->SetPosition(slowest); }, [&] { Click(to); });
    EXPECT_TRUE(ran_inside);
    std::vector<int> totals;
    for (const Shown& s : shown) {
      if (s.what == "scene") totals.push_back(s.trajectory_total);
    }
    return totals;
  }

  bool ran_inside = false;
  int depth_inside = 0;
};

TEST_F(ChainTest, StoredPathsMatchAFreshComputationAfterEverySettingsChange) {
  ShowScene();
  const struct {
    const char* change;
    std::function<void(TForm1&)> apply;
  } changes[] = {
      {"voltage 500 V", [](TForm1& f) { f.ScrollBar4->SetPosition(500); }},
      {"current 1.234 A", [](TForm1& f) { f.ScrollBar7->SetPosition(1234); }},
      {"deflection on", [](TForm1& f) { Click(f.AblenkEin); }},
      {"alternating", [](TForm1& f) { Click(f.Wechselspannung); }},
      {"amplitude 50", [](TForm1& f) { f.ScrollBar3->SetPosition(50); }},
      {"current one step up", [](TForm1& f) { f.ScrollBar7->triggerAction(QScrollBar::SliderSingleStepAdd); }},
      {"steady", [](TForm1& f) { Click(f.Gleichspannung); }},
      {"deflection off", [](TForm1& f) { Click(f.AblenkAus); }},
      {"voltage 2000 V", [](TForm1& f) { f.ScrollBar4->SetPosition(2000); }},
  };
  for (const auto& c : changes) {
    const int passes = CountsOfChain().full_passes;
    c.apply(*form);
    Settle();
    EXPECT_EQ(CountsOfChain().full_passes, passes + 1) << c.change;
    EXPECT_EQ(CurrentPaths(), FreshPaths()) << c.change;
  }
}

TEST_F(ChainTest, ChangeInsideTheMessagePumpRunsAfterTheCurrentPass) {
  ShowScene();
  Click(form->Wechselspannung);
  Settle();
  shown.clear();
  const int passes = CountsOfChain().full_passes;
  DuringComputation([&] { form->ScrollBar4->SetPosition(50); },
                    [&] {
                      form->ScrollBar7->SetPosition(1500);
                      EXPECT_EQ(form->Edit5->text(), "1.5") << "readouts change at once";
                    });
  EXPECT_TRUE(ran_inside);
  EXPECT_EQ(depth_inside, 1);
  EXPECT_EQ(MaxPumpDepth(), 1);
  EXPECT_EQ(CountsOfChain().full_passes, passes + 2);
  ASSERT_EQ(shown.size(), 2u) << "one picture per finished computation";
  EXPECT_EQ(shown[0].full_passes, passes + 1);
  EXPECT_EQ(shown[1].full_passes, passes + 2);
  EXPECT_EQ(CurrentPaths(), FreshPaths());
}

TEST_F(ChainTest, DraggedThumbInsideAComputationCoalescesIntoOneMorePass) {
  ShowScene();
  Click(form->Wechselspannung);
  Settle();
  const int passes = CountsOfChain().full_passes;
  int steps = 0;
  QTimer drag;
  drag.setInterval(0);
  QObject::connect(&drag, &QTimer::timeout, [&] {
    if (++steps == 40) drag.stop();
    form->ScrollBar7->triggerAction(QScrollBar::SliderSingleStepAdd);
  });
  drag.start();
  form->ScrollBar4->SetPosition(50);
  Settle();
  EXPECT_EQ(form->ScrollBar7->Position(), 40);
  EXPECT_EQ(form->Edit5->text(), "0.04");
  EXPECT_EQ(MaxPumpDepth(), 1);
  EXPECT_EQ(CountsOfChain().full_passes, passes + 2)
      << "all 40 steps come within the first computation; one more pass follows them";
  EXPECT_EQ(CurrentPaths(), FreshPaths());
}

TEST_F(ChainTest, SwitchInsideAComputationDrawsThePathsOfOneComputation) {
  ShowScene();
  EXPECT_EQ(PathCountsDrawnWhileSwitching(form->Gleichspannung, form->Wechselspannung),
            (std::vector<int>{1, 2}))
      << "the steady computation is drawn with its one path, not with an old path 2";
  EXPECT_EQ(CurrentPaths(), FreshPaths());
  EXPECT_EQ(PathCountsDrawnWhileSwitching(form->Wechselspannung, form->Gleichspannung),
            (std::vector<int>{2, 1}))
      << "the alternating computation is drawn with both its paths";
  EXPECT_EQ(CurrentPaths(), FreshPaths());
}

TEST_F(ChainTest, EndeInsideAComputationStopsThePathAndStartsNoOtherPass) {
  ShowScene();
  Click(form->Wechselspannung);
  Settle();
  const int passes = CountsOfChain().full_passes;
  // As in the running program: the computation starts from the event loop,
  // and the loop ends once the chain is back in it.
  QTimer::singleShot(0, [&] {
    DuringComputation([&] { form->ScrollBar4->SetPosition(50); },
                      [&] {
                        form->ScrollBar7->SetPosition(100);  // would need another pass
                        QTest::mouseClick(form->Button2, Qt::LeftButton);
                      });
  });
  EXPECT_EQ(RunEventLoop(), 0) << "the loop ended because the window closed";
  EXPECT_TRUE(ran_inside);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(CountsOfChain().full_passes, passes + 1);
  EXPECT_EQ(TrajectoryCount[1], 1) << "path 1 ended at the sample of the pump that ran ENDE";
  EXPECT_GT(TrajectoryCount[2], 100) << "path 2 starts afresh and runs in full";
  form->ScrollBar4->SetPosition(60);
  EXPECT_EQ(CountsOfChain().full_passes, passes + 1) << "a closing window computes no more";
}

}  // namespace
}  // namespace varek::testing
