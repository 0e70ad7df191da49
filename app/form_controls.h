// The model's view of the window's controls: the settings are read straight
// from the real scroll bars, radio buttons and check box.
#pragma once

#include "model/controls.h"

namespace varek {

class TForm1;

class FormControls : public Controls {
 public:
  explicit FormControls(const TForm1& form) : form_(form) {}

  int ScrollBar1() const override;
  int ScrollBar2() const override;
  int ScrollBar3() const override;
  int ScrollBar4() const override;
  int ScrollBar7() const override;
  bool AblenkEin() const override;
  bool AblenkAus() const override;
  bool Gleichspannung() const override;
  bool Wechselspannung() const override;
  bool CheckBox1() const override;

 private:
  const TForm1& form_;
};

}  // namespace varek
