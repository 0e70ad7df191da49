#include "window_driver.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "app/qt_message_pump.h"
#include "app/recompute_chain.h"
#include "model/scene.h"
#include "model/trajectories.h"

namespace varek::testing {

namespace {
constexpr int kSettleLimitMs = 5000;
constexpr int kIndicatorX = 6;  // inside the indicator of a check box or radio button
}  // namespace

StoredPaths CurrentPaths() {
  StoredPaths stored;
  stored.total = TrajectoryTotal;
  for (int p = 1; p <= TrajectoryTotal; ++p) {
    std::vector<Vec3i> path;
    for (int i = 1; i <= TrajectoryCount[p]; ++i) path.push_back(TrajectoryPoints[p][i]);
    stored.paths.push_back(std::move(path));
  }
  return stored;
}

struct WindowTest::Recorder : ScenePresenter, SignalPresenter {
  explicit Recorder(WindowTest& test) : test_(test) {}
  void PresentScene(const Bitmap& picture) override {
    test_.shown.push_back({"scene", CountsOfChain().full_passes, TrajectoryTotal});
    test_.form->PaintBox1->Present(picture);
  }
  void PresentSignal(const Bitmap& plot) override {
    test_.shown.push_back({"signal", CountsOfChain().full_passes, TrajectoryTotal});
    test_.form->PaintBox2->Present(plot);
  }
  void Bind() {
    BindScenePresenter(this);
    BindSignalPresenter(this);
  }

 private:
  WindowTest& test_;
};

WindowTest::WindowTest() = default;
WindowTest::~WindowTest() = default;

void WindowTest::SetUp() {
  ResetScene();
  form = std::make_unique<TForm1>();
  recorder_ = std::make_unique<Recorder>(*this);
  recorder_->Bind();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QTRY_VERIFY_WITH_TIMEOUT(form->Activated(), kSettleLimitMs);
  Settle();
  ResetMaxPumpDepth();
  shown.clear();
}

void WindowTest::TearDown() {
  form.reset();
  recorder_.reset();
}

void WindowTest::Click(QAbstractButton* button) {
  const bool indicator = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
  const QPoint at = indicator ? QPoint(kIndicatorX, button->height() / 2) : button->rect().center();
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

void WindowTest::Settle() {
  QElapsedTimer timer;
  timer.start();
  do {
    QCoreApplication::processEvents();
    QTest::qWait(10);
  } while ((ChainRunning() || form->PaintBox1->PaintHandlerPending()) &&
           timer.elapsed() < kSettleLimitMs);
  ASSERT_FALSE(form->PaintBox1->PaintHandlerPending());
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

PlainControls WindowTest::SettingsOfWindow() const {
  PlainControls settings;
  settings.turn_axis = form->ScrollBar1->Position();
  settings.turn_vertical = form->ScrollBar2->Position();
  settings.amplitude = form->ScrollBar3->Position();
  settings.voltage = form->ScrollBar4->Position();
  settings.current = form->ScrollBar7->Position();
  settings.deflection_on = form->AblenkEin->isChecked();
  settings.steady = form->Gleichspannung->isChecked();
  settings.see_through_screen = form->CheckBox1->isChecked();
  return settings;
}

StoredPaths WindowTest::FreshPaths() {
  PlainControls settings = SettingsOfWindow();
  IdlePump pump;
  BindControls(&settings);
  BindMessagePump(&pump);
  InitApparatus();
  ComputeTrajectories();
  StoredPaths fresh = CurrentPaths();
  form->BindToModel();
  recorder_->Bind();
  return fresh;
}

}  // namespace varek::testing
