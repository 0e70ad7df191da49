#include "app/presenters.h"

#include "app/toolkit/image_view.h"

namespace varek {

void PaintBoxPresenter::PresentScene(const Bitmap& picture) { box_.Present(picture); }
void PaintBoxPresenter::PresentSignal(const Bitmap& plot) { box_.Present(plot); }

}  // namespace varek
