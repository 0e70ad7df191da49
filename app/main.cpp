// Program start: application object, fonts, the window, the message loop.
#include <QApplication>

#include "app/form1.h"
#include "app/toolkit/look.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  varek::SetUpApplicationLook();
  varek::TForm1 form;  // builds the controls and runs FormCreate
  form.showMaximized();
  return QApplication::exec();
}
