// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Controls that show a picture: TImage (a fixed picture) and TPaintBox (a
// drawing area whose picture the program replaces).
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>

#include "render/bitmap.h"

namespace varek {

// Shows its image unscaled, anchored at the top-left corner, clipped to the
// control; where the image is smaller the parent shows through.
class ImageView : public QWidget {
  Q_OBJECT
 public:
  ImageView(QWidget* parent, const QRect& bounds);
  const QImage& Image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  QImage image_;
};

class TImage : public ImageView {
  Q_OBJECT
 public:
  using ImageView::ImageView;
  void SetPicture(const Bitmap& picture);

  // Where set, paints the picture at a scale (device pixels per pixel of the
  // control; a null image where it cannot). Shown enlarged, the control then
  // shows that painting, one image pixel to one device pixel, instead of its
  // picture enlarged; it paints again only at another scale.
  std::function<QImage(double)> PaintAtScale;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage painted_;
  double painted_scale_ = 0;
};

// A drawing area. The program shows its drawings with Present, which paints
// at once (shown scaled: when the window paints next) and does not call
// OnPaint. Every paint that the program did not cause (the area was
// uncovered or exposed) paints the current picture and then calls OnPaint
// from the event loop: never inside the paint event, and at most one call
// pending however many paints come.
class TPaintBox : public ImageView {
  Q_OBJECT
 public:
  TPaintBox(QWidget* parent, const QRect& bounds);

  std::function<void()> OnPaint;
  // Called from the event loop when the area is first painted at another
  // scale (device pixels per pixel of the area: the scaled window times Qt's
  // device pixel ratio), snapped down to thousandths so that a picture of
  // the area drawn at it lies wholly inside the area. A picture drawn at that
  // scale, larger than the area, is then copied pixel for pixel to the
  // device, never resampled.
  std::function<void(double)> OnDeviceScale;
  double DeviceScale() const { return device_scale_; }

  void Present(const Bitmap& picture);
  // Called when a control that lay above this area has been hidden.
  void Uncovered();

  int PresentCount() const { return present_count_; }
  bool PaintHandlerPending() const { return paint_handler_pending_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void SchedulePaintHandler();

  bool own_paint_pending_ = false;
  double device_scale_ = 1.0;
  bool paint_handler_pending_ = false;
  int present_count_ = 0;
};

}  // namespace varek
