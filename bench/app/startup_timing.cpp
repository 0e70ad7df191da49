// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Time from process start to the first painted window, and the peak resident
// memory of a run that shows the scene once.
//
// The parent starts this program again as a child that runs the window as
// varek-em does; the child reports the moment its window has been painted
// (after the first paint event, back in the event loop), then clicks "Weiter",
// waits for the computation and drawing to settle, and ends. Both moments are
// on the monotonic clock, so the time includes loading the libraries. Run it
// under Xvfb or with QT_QPA_PLATFORM=offscreen.
//
// Usage: bench_startup [RUNS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "app/form1.h"
#include "app/toolkit/look.h"

namespace {

constexpr int kDefaultRuns = 10;
constexpr int kSettlePollMs = 5;

long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

class FirstPaint : public QObject {
 public:
  explicit FirstPaint(varek::TForm1& form) : form_(form) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, [this] {
        std::printf("%lld\n", MonotonicNs());
        std::fflush(stdout);
        ShowSceneAndQuit();
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void ShowSceneAndQuit() {
    if (!form_.Activated() || form_.chain().Running()) {
      QTimer::singleShot(kSettlePollMs, [this] { ShowSceneAndQuit(); });
      return;
    }
    if (form_.Panel4->isVisible()) form_.Button14->click();
    QTimer::singleShot(kSettlePollMs, [this] {
      if (form_.chain().Running() || form_.PaintBox1->PaintHandlerPending()) {
        QTimer::singleShot(kSettlePollMs, [this] { ShowSceneAndQuit(); });
        return;
      }
      QCoreApplication::quit();
    });
  }

  varek::TForm1& form_;
  bool seen_ = false;
};

int RunWindow(int argc, char** argv) {
  QApplication application(argc, argv);
  varek::SetUpApplicationLook();
  varek::TForm1 form;
  FirstPaint probe(form);
  form.installEventFilter(&probe);
  form.showMaximized();
  return QApplication::exec();
}

struct Run {
  double first_paint_ms;
  long peak_kib;
};

bool RunOnce(const char* self, Run& run) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return false;
  const long long start = MonotonicNs();
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipe_ends[1], STDOUT_FILENO);
    close(pipe_ends[0]);
    execl(self, self, "--window", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipe_ends[1]);
  char line[64] = {};
  const ssize_t got = read(pipe_ends[0], line, sizeof line - 1);
  close(pipe_ends[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  run.first_paint_ms = (std::atoll(line) - start) / 1e6;
  run.peak_kib = usage.ru_maxrss;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--window") == 0) return RunWindow(argc, argv);
  const int runs = argc > 1 ? std::atoi(argv[1]) : kDefaultRuns;
  std::vector<Run> all;
  for (int i = 0; i < runs; ++i) {
    Run run{};
    if (!RunOnce("/proc/self/exe", run)) {
      std::fprintf(stderr, "bench_startup: run %d failed\n", i + 1);
      return 1;
    }
    all.push_back(run);
  }
  std::vector<double> times;
  std::vector<long> peaks;
  for (const Run& r : all) {
    times.push_back(r.first_paint_ms);
    peaks.push_back(r.peak_kib);
  }
  std::sort(times.begin(), times.end());
  std::sort(peaks.begin(), peaks.end());
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  std::printf("platform %s, %d runs\n", platform ? platform : "(default, DISPLAY)", runs);
  std::printf("start to first painted window: median %.1f ms, min %.1f ms, max %.1f ms\n",
              times[times.size() / 2], times.front(), times.back());
  std::printf("peak resident memory after showing the scene: median %ld KiB, max %ld KiB\n",
              peaks[peaks.size() / 2], peaks.back());
  return 0;
}
