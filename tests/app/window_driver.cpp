// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_driver.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace varek::testing {

namespace {
constexpr int kSettleLimitMs = 5000;
constexpr int kIndicatorX = 6;  // inside the indicator of a check box or radio button
}  // namespace

void PrintTo(const StoredPaths& stored, std::ostream* out) {
  *out << stored.total << " paths ending at";
  for (const std::vector<Vec3i>& path : stored.paths) {
    *out << ' ' << path.size() << " samples ";
    if (!path.empty()) PrintTo(path.back(), out);
  }
}

StoredPaths PathsOf(const Scene& scene) {
  StoredPaths stored;
  stored.total = scene.TrajectoryTotal;
  for (int p = 1; p <= scene.TrajectoryTotal; ++p) {
    const Path& points = scene.TrajectoryPoints[p];
    std::vector<Vec3i> path;
    for (int i = 1; i <= scene.TrajectoryCount[p]; ++i) path.push_back(points[i]);
    stored.paths.push_back(std::move(path));
  }
  return stored;
}

StoredPaths PathsFor(const Settings& settings) {
  Model model(settings);
  model.ComputeTrajectories(settings);
  return PathsOf(model.scene());
}

// Lists every paint of a paint box that follows a presentation: the box
// paints a presented picture at once, inside Present.
struct WindowTest::Recorder : QObject {
  explicit Recorder(WindowTest& test) : test_(test) {
    test_.form->PaintBox1->installEventFilter(this);
    test_.form->PaintBox2->installEventFilter(this);
    Forget();
  }
  // Presentations made so far are not listed.
  void Forget() {
    scenes_ = test_.form->PaintBox1->PresentCount();
    signals_ = test_.form->PaintBox2->PresentCount();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    TForm1& form = *test_.form;
    const int full_passes = form.chain().Counts().full_passes;
    if (watched == form.PaintBox1 && form.PaintBox1->PresentCount() != scenes_) {
      scenes_ = form.PaintBox1->PresentCount();
      test_.shown.push_back({"scene", full_passes, test_.CurrentPaths()});
    } else if (watched == form.PaintBox2 && form.PaintBox2->PresentCount() != signals_) {
      signals_ = form.PaintBox2->PresentCount();
      test_.shown.push_back({"signal", full_passes, {}});
    }
    return false;
  }

 private:
  WindowTest& test_;
  int scenes_ = 0;
  int signals_ = 0;
};

WindowTest::WindowTest() = default;
WindowTest::~WindowTest() = default;

void WindowTest::SetUp() {
  form = std::make_unique<TForm1>();
  recorder_ = std::make_unique<Recorder>(*this);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QTRY_VERIFY_WITH_TIMEOUT(form->Activated(), kSettleLimitMs);
  Settle();
  form->pump().ResetMaxDepth();
  recorder_->Forget();
  shown.clear();
}

void WindowTest::TearDown() {
  recorder_.reset();
  form.reset();
}

void WindowTest::Click(QAbstractButton* button) {
  const bool indicator = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
  const QPoint at = indicator ? QPoint(kIndicatorX, button->height() / 2) : button->rect().center();
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

void WindowTest::Settle() {
  QCoreApplication::processEvents();
  ASSERT_TRUE(QTest::qWaitFor(
      [this] { return !form->chain().Running() && !form->PaintBox1->PaintHandlerPending(); },
      kSettleLimitMs));
}

int WindowTest::RunEventLoop() {
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  guard.start(10000);
  return QApplication::exec();
}

void WindowTest::ShowScene() {
  Click(form->Button14);
  Settle();
}

}  // namespace varek::testing
