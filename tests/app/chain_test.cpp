// The recomputation chain under nested events: changes made from inside the
// message pump of a running computation.
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "window_driver.h"

namespace varek::testing {
namespace {

class ChainTest : public WindowTest {
 protected:
  // Runs `inside` from the first message pump of the computation that
  // `start` begins, and records where it ran.
  void DuringComputation(const std::function<void()>& start, const std::function<void()>& inside) {
    QTimer::singleShot(0, [&, inside] {
      ran_inside = form->chain().Running();
      depth_inside = form->pump().Depth();
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
      if (s.what == "scene") totals.push_back(s.paths.total);
    }
    return totals;
  }

  bool ran_inside = false;
  int depth_inside = 0;
};

struct Change {
  const char* name;
  std::function<void(TForm1&)> apply;
};

std::vector<Vec3i> EndsOf(const StoredPaths& stored) {
  std::vector<Vec3i> ends;
  for (const std::vector<Vec3i>& path : stored.paths) {
    if (!path.empty()) ends.push_back(path.back());
  }
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
      {"current one step up", [](TForm1& f) { f.ScrollBar7->triggerAction(QScrollBar::SliderSingleStepAdd); }},
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
// its pump neither starts its second path at another voltage nor bends a path
// half-way; it comes with the next pass.
TEST_F(ChainTest, ChangeInsideTheMessagePumpReachesOnlyTheNextPass) {
  ShowScene();
  Click(form->AblenkEin);
  Click(form->Wechselspannung);
  form->ScrollBar3->SetPosition(10);
  Settle();
  // Where the two paths of 1200 V and 1 A end.
  const std::vector<Vec3i> kEndsAt1200V = {{314, -3, -2}, {314, 3, 2}};
  const struct {
    Change change;
    TEdit* TForm1::*readout;
    const char* text;
  } rows[] = {
      {{"voltage 50 V", [](TForm1& f) { f.ScrollBar4->SetPosition(50); }}, &TForm1::Edit1, "50"},
      {{"current 2 A", [](TForm1& f) { f.ScrollBar7->SetPosition(2000); }}, &TForm1::Edit5, "2"},
  };
  for (const auto& [c, readout_of, text] : rows) {
    form->ScrollBar4->SetPosition(1200);
    form->ScrollBar7->SetPosition(0);
    Settle();
    shown.clear();
    form->pump().ResetMaxDepth();
    const int passes = FullPasses();
    Settings started;
    QString readout;
    DuringComputation([&] { form->ScrollBar7->SetPosition(1000); },
                      [&] {
                        started = form->CurrentSettings();
                        c.apply(*form);
                        readout = ((*form).*readout_of)->text();
                      });
    EXPECT_TRUE(ran_inside) << c.name;
    EXPECT_EQ(depth_inside, 1) << c.name;
    EXPECT_EQ(form->pump().MaxDepth(), 1) << c.name;
    EXPECT_EQ(readout, text) << c.name << ": readouts change at once";
    EXPECT_EQ(FullPasses(), passes + 2) << c.name;
    ASSERT_EQ(shown.size(), 2u) << c.name << ": one picture per finished computation";
    EXPECT_EQ(shown[0].full_passes, passes + 1) << c.name;
    EXPECT_EQ(shown[0].paths, PathsFor(started)) << c.name;
    EXPECT_EQ(EndsOf(shown[0].paths), kEndsAt1200V) << c.name;
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
  form->ScrollBar4->SetPosition(50);
  Settle();
  EXPECT_EQ(form->ScrollBar7->Position(), 40);
  EXPECT_EQ(form->Edit5->text(), "0.04");
  EXPECT_EQ(form->pump().MaxDepth(), 1);
  EXPECT_EQ(FullPasses(), passes + 2)
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
  EXPECT_EQ(stored.paths[0], std::vector<Vec3i>{full.paths[0][0]})
      << "path 1 ended at the sample of the pump that ran ENDE";
  EXPECT_EQ(stored.paths[1], full.paths[1]) << "path 2 starts afresh and runs in full";
  form->ScrollBar4->SetPosition(60);
  EXPECT_EQ(FullPasses(), passes + 1) << "a closing window computes no more";
}

}  // namespace
}  // namespace varek::testing
