// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real window under a long, seeded storm of user actions, most of them
// arriving while a computation pumps the event loop. Afterwards the window
// must show exactly what a fresh computation gives for its final settings,
// and "ENDE" must still stop a long computation.
//
// VAREK_SOAK_SEED replays a run; VAREK_SOAK_ACTIONS sets the number of actions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/toolkit/bitmap_image.h"
#include "tests/app/window_driver.h"

namespace varek::testing {
namespace {

constexpr long kDefaultActions = 20000;   // the least a regular run delivers
constexpr int kLowVoltageBand = 250;      // V above the minimum
constexpr int kSmallAmplitude = 10;       // the paths clear the plates
constexpr int kStrongCurrentBand = 1000;  // mA below the maximum

long ActionsFromEnvironment() {
  const char* text = std::getenv("VAREK_SOAK_ACTIONS");
  return text ? std::strtol(text, nullptr, 10) : kDefaultActions;
}

std::uint64_t SeedFromEnvironment() {
  if (const char* text = std::getenv("VAREK_SOAK_SEED")) return std::strtoull(text, nullptr, 10);
  return std::random_device{}() ^ (static_cast<std::uint64_t>(std::random_device{}()) << 32);
}

// The frame address, not that of a local: AddressSanitizer may move locals
// to a separate heap-allocated stack.
const char* StackHere() { return static_cast<const char*>(__builtin_frame_address(0)); }

// Counts the calls of the window's pump and how deep the stack grows below
// the level where the storm began.
struct ProbePump : MessagePump {
  QtMessagePump* inner = nullptr;
  const char* base = nullptr;
  long deepest_stack = 0;
  long pumps = 0;
  std::function<void()> hook;  // runs before each pump call
  void Pump() override {
    deepest_stack = std::max(deepest_stack, static_cast<long>(base - StackHere()));
    ++pumps;
    if (hook) hook();
    inner->Pump();
  }
};

class EventStorm : public WindowTest {
 protected:
  // A user's action: one click, one step of a drag, or one key on a bar.
  void Act() {
    ++actions_;
    if (form->pump().Depth() > 0) ++inside_pump_;
    shown.clear();  // the storm keeps no list of pictures
    if (dragged_) {
      ContinueDrag();
      return;
    }
    std::vector<TScrollBar*> bars = {form->ScrollBar1, form->ScrollBar2, form->ScrollBar3,
                                     form->ScrollBar4, form->ScrollBar7};
    std::vector<QAbstractButton*> buttons = {
        form->AblenkEin,    form->AblenkAus,    form->Gleichspannung, form->Wechselspannung,
        form->RadioButton1, form->RadioButton2, form->CheckBox5,      form->CheckBox1,
        form->Button3,      form->Button5,      form->Button14,       form->Button6,
        form->Button7};
    // Between computations, half the actions change a physical setting and
    // so start one.
    if (!form->chain().Running() && Pick(0, 1)) {
      TScrollBar* physical = bars[Pick(2, 4)];
      Pick(0, 1) ? StartDrag(physical) : StepBar(physical);
      return;
    }
    const int choice = Pick(0, 99);
    if (choice < 40) {
      StartDrag(bars[Pick(0, 4)]);
    } else if (choice < 55) {
      StepBar(bars[Pick(0, 4)]);
    } else if (choice < 57) {
      ClickAsUser(form->Button1);  // "Info" covers everything but "Weiter"
    } else {
      ClickAsUser(buttons[Pick(0, static_cast<int>(buttons.size()) - 1)]);
    }
  }

  int Pick(int lowest, int highest) {
    return std::uniform_int_distribution<int>(lowest, highest)(random_);
  }

  // The widget that a click at `at` of `widget` really meets.
  QWidget* HitAt(QWidget* widget, QPoint at) const {
    if (!widget->isVisible()) return nullptr;
    QWidget* top = form->childAt(widget->mapTo(form.get(), at));
    return top;
  }
  bool Reachable(QWidget* widget) const {
    QWidget* top = HitAt(widget, widget->rect().center());
    return top && (top == widget || widget->isAncestorOf(top));
  }

  // Clicks where the user would aim at `button`; a covering control gets the
  // click instead.
  void ClickAsUser(QAbstractButton* button) {
    if (Reachable(button)) {
      Click(button);
      return;
    }
    const QPoint aim(6, button->height() / 2);
    QWidget* top = HitAt(button, aim);
    if (!top) return;  // hidden with its panel: nothing to click there
    QTest::mouseClick(top, Qt::LeftButton, Qt::NoModifier,
                      top->mapFrom(form.get(), button->mapTo(form.get(), aim)));
  }

  // Low voltages, small amplitudes and strong currents give the long
  // computations; most choices favour them.
  int TargetPosition(TScrollBar* bar) {
    const bool favour = Pick(0, 3) > 0;
    if (favour && bar == form->ScrollBar4) return bar->minimum() + Pick(0, kLowVoltageBand);
    if (favour && bar == form->ScrollBar3) return Pick(0, kSmallAmplitude);
    if (favour && bar == form->ScrollBar7) return bar->maximum() - Pick(0, kStrongCurrentBand);
    return Pick(bar->minimum(), bar->maximum());
  }

  void StartDrag(TScrollBar* bar) {
    if (!Reachable(bar)) return;
    dragged_ = bar;
    drag_target_ = TargetPosition(bar);
    drag_steps_ = Pick(1, 40);
    bar->setSliderDown(true);
  }

  // The thumb follows the mouse: fast drags skip positions.
  void ContinueDrag() {
    TScrollBar* bar = dragged_;
    const int now = bar->sliderPosition();
    const int next = drag_steps_ <= 1 ? drag_target_ : now + (drag_target_ - now) / drag_steps_;
    bar->setSliderPosition(next);
    if (--drag_steps_ <= 0) EndDrag();
  }

  void EndDrag() {
    if (!dragged_) return;
    dragged_->setSliderDown(false);
    dragged_ = nullptr;
  }

  // An arrow or a trough click, or the keys for start and end.
  void StepBar(TScrollBar* bar) {
    if (!Reachable(bar)) return;
    static constexpr QAbstractSlider::SliderAction kSteps[] = {
        QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
        QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
        QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
    bar->triggerAction(kSteps[Pick(0, 5)]);
  }

  // 50 V, 2000 mA with an alternating deflection voltage of amplitude 5: the
  // longest computation, two paths of 1987 samples turning in the field (path
  // 2 is path 1's mirror image and runs no pump).
  void SetSlowestSettings() {
    ShowScene();
    form->ScrollBar4->SetPosition(form->ScrollBar4->minimum());
    form->ScrollBar7->SetPosition(2000);
    form->ScrollBar3->SetPosition(5);
    Click(form->AblenkEin);
    Click(form->Wechselspannung);
    Settle();
    ASSERT_EQ(scene().TrajectoryTotal, 2);
  }

  // Puts the probe between the computation and the window's pump.
  ProbePump& Probe() {
    probe_.inner = &form->pump();
    probe_.base = StackHere();
    form->simulation().SetMessagePump(&probe_);
    return probe_;
  }

  ProbePump probe_;
  std::mt19937_64 random_;
  long actions_ = 0;
  long inside_pump_ = 0;
  TScrollBar* dragged_ = nullptr;
  int drag_target_ = 0;
  int drag_steps_ = 0;
};

TEST_F(EventStorm, WindowEndsInTheStateOfItsFinalSettings) {
  SetSlowestSettings();
  const std::uint64_t seed = SeedFromEnvironment();
  const long wanted = ActionsFromEnvironment();
  random_.seed(seed);
  std::printf("event storm: seed %llu (VAREK_SOAK_SEED=%llu replays it), %ld actions\n",
              static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed), wanted);
  std::fflush(stdout);

  const ProbePump& probe = Probe();
  form->pump().ResetMaxDepth();
  const ChainCounts before = form->chain().Counts();
  const long passes_before = form->pump().Passes();

  QElapsedTimer clock;
  clock.start();
  QTimer storm;
  storm.setSingleShot(true);
  QObject::connect(&storm, &QTimer::timeout, [&] {
    // The next action is due before this one starts a computation, so that
    // it arrives inside its pump. Half the actions come as fast as the loop
    // turns, the others a few milliseconds apart.
    if (actions_ + 1 < wanted) storm.start(Pick(0, 1) ? 0 : Pick(1, 4));
    Act();
  });
  storm.start(0);
  while (actions_ < wanted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  EndDrag();
  Settle();
  const double seconds = clock.elapsed() / 1000.0;

  const int max_depth = form->pump().MaxDepth();
  const ChainCounts& after = form->chain().Counts();
  std::printf(
      "event storm: %ld actions (%ld inside a pump) in %.1f s; %d full and %d drawing passes; "
      "%ld pumps making %ld event-loop passes; deepest pump nesting %d; deepest stack below the "
      "storm "
      "%ld bytes\n",
      actions_, inside_pump_, seconds, after.full_passes - before.full_passes,
      after.render_passes - before.render_passes, probe.pumps,
      form->pump().Passes() - passes_before, max_depth, probe.deepest_stack);
  EXPECT_EQ(actions_, wanted);
  EXPECT_GT(inside_pump_, wanted / 10) << "many actions must meet a running computation";
  // A pump never runs inside another: no computation starts inside a pump.
  EXPECT_EQ(max_depth, 1);
  EXPECT_LT(probe.deepest_stack, 256 * 1024);

  EXPECT_EQ(form->Panel11->isVisibleTo(form->Panel1), form->AblenkEin->isChecked());
  const Settings in_force = form->CurrentSettings();
  for (const SettingRow& row : SettingTable()) {
    if (!row.readout) continue;
    const auto* edit = form->findChild<QLineEdit*>(QString::fromUtf8(row.readout_control));
    EXPECT_EQ(edit->text().toStdString(), ReadoutText(*row.readout, row.ValueIn(in_force)));
  }

  // A fresh computation and drawing for the final settings, away from the window.
  const Settings settings = form->CurrentSettings();
  Simulation fresh(settings);
  fresh.ComputeTrajectories(settings);
  EXPECT_EQ(CurrentPaths(), PathsOf(fresh.scene()));
  EXPECT_TRUE(form->PaintBox1->Image() == ToQImage(fresh.RenderScene(settings)))
      << "the picture on PaintBox1 is not that of the final settings";
  std::printf(
      "event storm: final settings %d V, %d mA, deflection %s %s amplitude %d, view %d/%d\n",
      settings.voltage, settings.current, settings.deflection_on ? "on" : "off",
      settings.steady ? "steady" : "alternating", settings.amplitude, settings.turn_axis,
      settings.turn_vertical);
}

// The pump skips passes over an idle event loop, yet an event that comes due
// in the middle of a computation still runs inside it: at the latest in the
// first pump call QuietPassIntervalNs after it was posted. That is checked
// against the clock of the pump calls, so it holds at any speed.
TEST_F(EventStorm, QuietPumpSkipsPassesButLateEventsRunInsideTheComputation) {
  SetSlowestSettings();
  form->ScrollBar4->SetPosition(form->ScrollBar4->minimum() + 1);
  Settle();

  using Clock = std::chrono::steady_clock;
  ProbePump& probe = Probe();
  const long passes = form->pump().Passes();
  constexpr long kPostCall = 1000;  // half way along path 1, which alone pumps
  Clock::time_point posted;
  long deadline_call = -1, ran_in_call = -1;
  int depth_when_run = -1;
  probe.hook = [&] {
    if (probe.pumps == kPostCall) {
      QTimer::singleShot(0, [&] {
        depth_when_run = form->pump().Depth();
        ran_in_call = probe.pumps;
      });
      posted = Clock::now();
    } else if (probe.pumps > kPostCall && deadline_call < 0 &&
               Clock::now() - posted >=
                   std::chrono::nanoseconds(QtMessagePump::QuietPassIntervalNs)) {
      deadline_call = probe.pumps;
    }
  };
  form->ScrollBar4->SetPosition(form->ScrollBar4->minimum());
  probe.hook = nullptr;
  const long made = form->pump().Passes() - passes;
  std::printf(
      "a 50 V alternating computation: %ld pump calls, %ld event-loop passes; the event posted in "
      "call %ld ran in call %ld, due at the latest in call %ld\n",
      probe.pumps, made, kPostCall, ran_in_call, deadline_call);
  Settle();

  EXPECT_EQ(probe.pumps, 1987) << "one pump call per stored sample of path 1";
  EXPECT_GE(made, 1);
  EXPECT_LT(made, probe.pumps / 4) << "passes over an idle event loop are skipped";
  EXPECT_GE(ran_in_call, kPostCall);
  if (deadline_call > 0) {
    EXPECT_EQ(depth_when_run, 1) << "the event came due during the computation and ran inside it";
    EXPECT_LE(ran_in_call, deadline_call);
  }
}

TEST_F(EventStorm, EndeInsideALongComputationEndsTheProgram) {
  SetSlowestSettings();
  const StoredPaths full = CurrentPaths();
  ASSERT_EQ(full.paths.size(), 2u);

  // The chain for 50 V must start from a change: come from 51 V first.
  form->ScrollBar4->SetPosition(form->ScrollBar4->minimum() + 1);
  Settle();

  // The program's own event loop runs until the window closes; a watchdog
  // ends it with another code if it never does.
  constexpr int kWatchdogMs = 60000;
  constexpr int kWatchdogCode = 99;
  QTimer::singleShot(kWatchdogMs, [] { QCoreApplication::exit(kWatchdogCode); });
  QElapsedTimer since_click;
  int pump_depth_at_click = -1;
  double chain_ms = 0;
  QTimer::singleShot(0, [&] {
    QTimer::singleShot(0, [&] {
      pump_depth_at_click = form->pump().Depth();
      since_click.start();
      Click(form->Button2);
    });
    // The chain runs inside this call until "ENDE" ends it.
    form->ScrollBar4->SetPosition(form->ScrollBar4->minimum());
    chain_ms = since_click.nsecsElapsed() / 1e6;
  });
  const int code = QApplication::exec();
  const double loop_ms = since_click.nsecsElapsed() / 1e6;

  EXPECT_EQ(code, 0) << "the event loop did not end";
  EXPECT_EQ(pump_depth_at_click, 1) << "the click must arrive inside the computation's pump";
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->chain().Running());
  // Path 1 stopped early; path 2 started afresh and ran in full.
  const Scene& stopped = scene();
  ASSERT_EQ(stopped.TrajectoryTotal, 2);
  EXPECT_LT(stopped.TrajectoryCount[1], static_cast<int>(full.paths[0].size()));
  EXPECT_EQ(CurrentPaths().paths[1], full.paths[1]);
  std::printf(
      "\"ENDE\" inside a 50 V alternating computation: the chain ended %.2f ms and the event loop "
      "%.2f ms after the click; path 1 kept %d of %zu samples, path 2 %d\n",
      chain_ms, loop_ms, static_cast<int>(stopped.TrajectoryCount[1]), full.paths[0].size(),
      static_cast<int>(stopped.TrajectoryCount[2]));
}

}  // namespace
}  // namespace varek::testing
