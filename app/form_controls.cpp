#include "app/form_controls.h"

#include "app/form1.h"

namespace varek {

int FormControls::ScrollBar1() const { return form_.ScrollBar1->Position(); }
int FormControls::ScrollBar2() const { return form_.ScrollBar2->Position(); }
int FormControls::ScrollBar3() const { return form_.ScrollBar3->Position(); }
int FormControls::ScrollBar4() const { return form_.ScrollBar4->Position(); }
int FormControls::ScrollBar7() const { return form_.ScrollBar7->Position(); }
bool FormControls::AblenkEin() const { return form_.AblenkEin->isChecked(); }
bool FormControls::AblenkAus() const { return form_.AblenkAus->isChecked(); }
bool FormControls::Gleichspannung() const { return form_.Gleichspannung->isChecked(); }
bool FormControls::Wechselspannung() const { return form_.Wechselspannung->isChecked(); }
bool FormControls::CheckBox1() const { return form_.CheckBox1->isChecked(); }

}  // namespace varek
