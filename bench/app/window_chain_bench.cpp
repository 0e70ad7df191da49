// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real window, headless: what one change of the accelerating voltage
// costs from setValue until the picture is copied onto PaintBox1, next to the
// bare integration of the same settings, and how many pictures a continuous
// drag of the voltage thumb completes per second.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/form1.h"
#include "app/toolkit/look.h"
#include "model/model.h"

namespace varek {
namespace {

struct Case {
  const char* name;
  int voltage;
  int current;  // mA
  bool alternating;
  int amplitude;
};
// 50 V alternating gives the longest paths: two of 1987 samples. With 1000 mA
// and amplitude 10 or 2000 mA and amplitude 5 they turn in the field with
// every value non-zero (the heavy cases); with amplitude 0 they stay on the
// axis. 1200 V steady is the start-up setting.
constexpr Case kCases[] = {{"50V_1000mA_ac_amplitude10_heavy", 50, 1000, true, 10},
                           {"50V_2000mA_ac_amplitude5_heavy", 50, 2000, true, 5},
                           {"50V_ac_amplitude0", 50, 0, true, 0},
                           {"1200V_dc_startup", 1200, 0, false, 200}};
constexpr int kCaseCount = sizeof kCases / sizeof kCases[0];

std::unique_ptr<TForm1> window;

void Settle() {
  do {
    QCoreApplication::processEvents();
    QTest::qWait(5);
  } while (window->chain().Running() || window->PaintBox1->PaintHandlerPending() ||
           !window->Activated());
}

// A fresh, visible window with the scene uncovered and the case's settings.
void OpenWindow(const Case& c) {
  window.reset();
  window = std::make_unique<TForm1>();
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) std::fprintf(stderr, "window was not exposed\n");
  Settle();
  window->Button14->click();
  window->ScrollBar3->SetPosition(c.amplitude);
  window->ScrollBar7->SetPosition(c.current);
  window->AblenkEin->click();
  (c.alternating ? window->Wechselspannung : window->Gleichspannung)->click();
  window->ScrollBar4->SetPosition(c.voltage);
  Settle();
}

// One change of ScrollBar4 runs the full chain inside setValue. Alternating
// between the case's voltage and the next one keeps the work the same.
void BM_ScrollBar4Chain(benchmark::State& state) {
  const Case& c = kCases[state.range(0)];
  OpenWindow(c);
  int step = 0;
  const long passes = window->pump().Passes();
  for (auto _ : state) {
    window->ScrollBar4->setValue(c.voltage + (++step & 1));
  }
  state.counters["event_loop_passes_per_chain"] =
      static_cast<double>(window->pump().Passes() - passes) /
      static_cast<double>(state.iterations());
  Settle();
  state.SetLabel(c.name);
}
BENCHMARK(BM_ScrollBar4Chain)->DenseRange(0, kCaseCount - 1)->Unit(benchmark::kMillisecond);

// The drawing part of the chain alone: a one-degree turn of the view redraws
// the same paths and copies the picture onto PaintBox1.
void BM_ScrollBar1Redraw(benchmark::State& state) {
  const Case& c = kCases[state.range(0)];
  OpenWindow(c);
  int step = 0;
  for (auto _ : state) {
    window->ScrollBar1->setValue(5 + (++step & 1));
  }
  Settle();
  state.SetLabel(c.name);
}
BENCHMARK(BM_ScrollBar1Redraw)->DenseRange(0, kCaseCount - 1)->Unit(benchmark::kMillisecond);

// The same computations without a window: a model of its own, no pump;
// ComputeTrajectories includes InitApparatus.
void BM_BareComputeTrajectories(benchmark::State& state) {
  const Case& c = kCases[state.range(0)];
  window.reset();
  Settings settings;
  settings.deflection_on = true;
  settings.steady = !c.alternating;
  settings.amplitude = c.amplitude;
  settings.current = c.current;
  Model model(settings);
  int step = 0;
  for (auto _ : state) {
    settings.voltage = c.voltage + (++step & 1);
    model.ComputeTrajectories(settings);
    benchmark::DoNotOptimize(model.scene().TrajectoryCount[1]);
  }
  state.SetLabel(c.name);
}
BENCHMARK(BM_BareComputeTrajectories)->DenseRange(0, kCaseCount - 1)->Unit(benchmark::kMillisecond);

// The thumb of ScrollBar4 dragged back and forth over 50..80 V with the
// settings of a 50 V case, one tracking step every few milliseconds, for two
// seconds of wall time; pictures are the RenderScene passes whose picture
// reached PaintBox1.
void BM_VoltageDragPictures(benchmark::State& state) {
  constexpr int kStepMs = 3;
  constexpr int kDragMs = 2000;
  constexpr int kLowest = 50, kHighest = 80;
  const Case& c = kCases[state.range(0)];
  OpenWindow(c);
  double pictures = 0, full = 0, steps = 0, seconds = 0;
  for (auto _ : state) {
    TScrollBar* bar = window->ScrollBar4;
    const int presented = window->PaintBox1->PresentCount();
    const int passes = window->chain().Counts().full_passes;
    int direction = 1;
    int moves = 0;
    QTimer drag;
    // The timer only posts each move, as the window system posts mouse
    // moves: a timer whose own callback ran the chain would not fire inside
    // it. While moves keep coming the chain keeps running pass after pass, so
    // the timer itself ends the drag.
    QElapsedTimer clock;
    QObject::connect(&drag, &QTimer::timeout, [&] {
      if (clock.elapsed() >= kDragMs) {
        drag.stop();
        return;
      }
      QMetaObject::invokeMethod(
          bar,
          [&] {
            int next = bar->sliderPosition() + direction;
            if (next > kHighest || next < kLowest) {
              direction = -direction;
              next = bar->sliderPosition() + direction;
            }
            bar->setSliderPosition(next);
            ++moves;
          },
          Qt::QueuedConnection);
    });
    bar->setSliderDown(true);
    clock.start();
    drag.start(kStepMs);
    while (drag.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    bar->setSliderDown(false);
    seconds += clock.nsecsElapsed() / 1e9;
    pictures += window->PaintBox1->PresentCount() - presented;
    full += window->chain().Counts().full_passes - passes;
    steps += moves;
    Settle();
  }
  state.counters["pictures_per_s"] = pictures / seconds;
  state.counters["computations_per_s"] = full / seconds;
  state.counters["thumb_steps_per_s"] = steps / seconds;
  state.counters["max_pump_depth"] = window->pump().MaxDepth();
  state.SetLabel(c.name);
}
BENCHMARK(BM_VoltageDragPictures)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varek

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QApplication application(argc, argv);
  if (!varek::SetUpApplicationLook()) return 1;
  benchmark::RunSpecifiedBenchmarks();
  varek::window.reset();
  benchmark::Shutdown();
  return 0;
}
