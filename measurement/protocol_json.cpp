// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_json.h"

#include <cmath>
#include <cstdio>

#include "measurement/portable_chars.h"

namespace varek {

namespace {

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Colour(PlotColour rgb) {
  char text[16];
  std::snprintf(text, sizeof text, "\"#%06x\"", static_cast<unsigned>(rgb & 0xFFFFFF));
  return text;
}

const char* AnchorName(Anchor anchor) {
  switch (anchor) {
    case Anchor::TopCentre: return "topCentre";
    case Anchor::MiddleRight: return "middleRight";
    case Anchor::BottomCentre: return "bottomCentre";
    case Anchor::MiddleCentre: return "middleCentre";
  }
  return "";
}

// The members of one object, in the order they are added.
class Object {
 public:
  Object& Raw(std::string_view key, const std::string& json) {
    text_ += (text_.size() > 1 ? "," : "") + JsonString(key) + ":" + json;
    return *this;
  }
  Object& Number(std::string_view key, double value) { return Raw(key, JsonNumber(value)); }
  Object& Text(std::string_view key, std::string_view value) { return Raw(key, JsonString(value)); }
  std::string Close() const { return text_ + "}"; }

 private:
  std::string text_ = "{";
};

template <typename Item, typename Writer>
std::string Array(const std::vector<Item>& items, Writer write) {
  std::string text = "[";
  for (const Item& item : items) text += (text.size() > 1 ? "," : "") + write(item);
  return text + "]";
}

std::string TickJson(const PlotTick& tick) {
  return Object().Number("value", tick.value).Text("label", tick.label).Close();
}

}  // namespace

std::string JsonStrings(const std::vector<std::string>& texts) {
  return Array(texts, [](const std::string& text) { return JsonString(text); });
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  return PortableShortest(value == 0 ? 0.0 : value);  // no "-0"
}

std::string ViewJson(const ProtocolView& view) {
  const std::string rows = Array(view.rows, [](const ProtocolViewRow& row) {
    return Object()
        .Text("id", row.id)
        .Raw("cells", JsonStrings(row.cells))
        .Raw("outlier", Bool(row.outlier))
        .Close();
  });
  return Object()
      .Raw("titles", JsonStrings(view.titles))
      .Raw("rows", rows)
      .Text("result", view.result)
      .Text("deviation", view.deviation)
      .Raw("warnings", JsonStrings(view.warnings))
      .Close();
}

std::string PlanJson(const PlotPlan& plan) {
  const std::string lines = Array(plan.lines, [](const PlotLine& line) {
    return Object()
        .Number("x1", line.x1)
        .Number("y1", line.y1)
        .Number("x2", line.x2)
        .Number("y2", line.y2)
        .Number("width", line.width)
        .Raw("colour", Colour(line.colour))
        .Close();
  });
  const std::string marks = Array(plan.marks, [](const PlotMark& mark) {
    return Object()
        .Number("x", mark.x)
        .Number("y", mark.y)
        .Number("radius", mark.radius)
        .Raw("outlier", Bool(mark.outlier))
        .Raw("fill", Colour(mark.fill))
        .Raw("edge", Colour(mark.edge))
        .Number("edgeWidth", mark.edge_width)
        .Close();
  });
  const std::string texts = Array(plan.texts, [](const PlotText& text) {
    return Object()
        .Number("x", text.x)
        .Number("y", text.y)
        .Text("text", text.text)
        .Number("size", text.size)
        .Raw("bold", Bool(text.bold))
        .Raw("anchor", JsonString(AnchorName(text.anchor)))
        .Raw("vertical", Bool(text.vertical))
        .Raw("colour", Colour(text.colour))
        .Close();
  });
  return Object()
      .Number("width", plan.width)
      .Number("height", plan.height)
      .Raw("background", Colour(plan.background))
      .Text("fontFamily", plan.font_family)
      .Number("left", plan.left)
      .Number("top", plan.top)
      .Number("right", plan.right)
      .Number("bottom", plan.bottom)
      .Number("xEnd", plan.x_end)
      .Number("yEnd", plan.y_end)
      .Raw("xTicks", Array(plan.x_ticks, TickJson))
      .Raw("yTicks", Array(plan.y_ticks, TickJson))
      .Text("xTitle", plan.x_title)
      .Text("yTitle", plan.y_title)
      .Raw("lines", lines)
      .Raw("marks", marks)
      .Raw("texts", texts)
      .Close();
}

}  // namespace varek
