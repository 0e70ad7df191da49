// TForm1's event handlers. Each updates readouts, scene settings or panels at
// once, in its order, and leaves recomputing and drawing the scene to the
// recomputation chain.
#include "app/form1.h"
#include "app/readouts.h"
#include "app/recompute_chain.h"
#include "model/scene.h"
#include "render/deflection_signal.h"
#include "render/scene_renderer.h"

namespace varek {

namespace {
constexpr std::int32_t kStopComputation = 200000;  // any step count >= 100000 ends a path

// While a computation runs, the stored paths keep the count it began with;
// the recomputation it has pending sets the new count itself. Writing it now
// would draw a path of an older computation (or drop one) in between.
void SetTrajectoryTotal(std::int32_t total) {
  if (!ChainRunning()) TrajectoryTotal = total;
}
}  // namespace

void TForm1::FormCreate(QObject* /*Sender*/) {
  Edit5->setText(CoilCurrentText(ScrollBar7->Position()));
  Edit1->setText(IntegerText(ScrollBar4->Position()));
  CreateBackBuffer(PaintBox1->width(), PaintBox1->height());
  StartUpModel();
  Edit7->setText(IntegerText(ScrollBar1->Position()));
  Edit8->setText(IntegerText(-ScrollBar2->Position()));
  BuildCoilAndRings();
}

void TForm1::FormActivate(QObject* /*Sender*/) { RequestChain(Stage::Full); }

void TForm1::PaintBox1Paint(QObject* /*Sender*/) {
  RequestChain(Stage::Full);
  if (AblenkEin->isChecked()) DrawDeflectionSignal();
}

void TForm1::ScrollBar1Change(QObject* /*Sender*/) {
  Edit7->setText(IntegerText(ScrollBar1->Position()));
  RequestChain(Stage::Render);
}

void TForm1::ScrollBar2Change(QObject* /*Sender*/) {
  Edit8->setText(IntegerText(-ScrollBar2->Position()));
  RequestChain(Stage::Render);
}

void TForm1::ScrollBar4Change(QObject* /*Sender*/) {
  BeamSpeed = BeamSpeedFor(ScrollBar4->Position());
  Edit1->setText(IntegerText(ScrollBar4->Position()));
  RequestChain(Stage::Full);
}

void TForm1::ScrollBar7Change(QObject* /*Sender*/) {
  Edit5->setText(CoilCurrentText(ScrollBar7->Position()));
  RequestChain(Stage::Full);
}

void TForm1::ScrollBar3Change(QObject* /*Sender*/) {
  DrawDeflectionSignal();
  RequestChain(Stage::Full);
}

void TForm1::AblenkEinClick(QObject* /*Sender*/) {
  Panel11->show();
  DrawDeflectionSignal();
  RequestChain(Stage::Full);
}

void TForm1::AblenkAusClick(QObject* /*Sender*/) {
  Panel11->hide();
  RequestChain(Stage::Full);
}

void TForm1::GleichspannungClick(QObject* /*Sender*/) {
  SetTrajectoryTotal(1);
  DrawDeflectionSignal();
  RequestChain(Stage::Full);
}

void TForm1::WechselspannungClick(QObject* /*Sender*/) {
  SetTrajectoryTotal(2);
  DrawDeflectionSignal();
  RequestChain(Stage::Full);
}

void TForm1::RadioButton1Click(QObject* /*Sender*/) {
  PathWidth = 1;
  RequestChain(Stage::Render);
}

void TForm1::RadioButton2Click(QObject* /*Sender*/) {
  PathWidth = 2;
  RequestChain(Stage::Render);
}

void TForm1::CheckBox5Click(QObject* /*Sender*/) {
  CoilVisible = CheckBox5->isChecked();
  RequestChain(Stage::Render);
}

void TForm1::CheckBox1Click(QObject* /*Sender*/) { RequestChain(Stage::Render); }

void TForm1::Button3Click(QObject* /*Sender*/) {
  ScrollBar1->SetPosition(0);
  ScrollBar2->SetPosition(-90);
}

void TForm1::Button5Click(QObject* /*Sender*/) {
  ScrollBar1->SetPosition(0);
  ScrollBar2->SetPosition(0);
}

void TForm1::Button1Click(QObject* /*Sender*/) {
  Panel4->show();
  Button14->show();
}

void TForm1::Button14Click(QObject* /*Sender*/) {
  Panel4->hide();
  Button14->hide();
  RequestChain(Stage::Render);
  DrawDeflectionSignal();
}

void TForm1::Button6Click(QObject* /*Sender*/) { Panel10->show(); }

void TForm1::Button7Click(QObject* /*Sender*/) {
  Panel10->hide();
  if (AblenkEin->isChecked()) DrawDeflectionSignal();
}

void TForm1::Button2Click(QObject* /*Sender*/) {
  StepCounter = kStopComputation;
  close();  // closeEvent marks the chain as closing
}

}  // namespace varek
