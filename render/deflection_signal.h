// The small plot of the deflection voltage (square wave or flat line).
#pragma once

#include "render/bitmap.h"

namespace varek {

inline constexpr int SignalWidth = 241;  // size of PaintBox2 and of the axes picture
inline constexpr int SignalHeight = 50;

// The picture under the curve (the decoded axes picture); set once at start-up.
void SetSignalBackground(const Bitmap& axes);

// Receives the plot; the window shows it in PaintBox2.
class SignalPresenter {
 public:
  virtual ~SignalPresenter() = default;
  virtual void PresentSignal(const Bitmap& plot) = 0;
};
void BindSignalPresenter(SignalPresenter* presenter);

// Restores the background, draws the curve for ScrollBar3, Gleichspannung and
// Wechselspannung of the bound controls and hands the plot to the presenter.
void DrawDeflectionSignal();

// The latest plot (background plus curve).
const Bitmap& DeflectionSignalPlot();

}  // namespace varek
