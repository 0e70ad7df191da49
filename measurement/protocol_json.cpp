// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_json.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "measurement/portable_chars.h"

namespace varek {

namespace {

// The axes' values (V, A²) keep nine decimals, enough for the smallest tick step.
constexpr int AxisDecimals = 9;

std::string Bool(bool value) { return value ? "true" : "false"; }

// printf's %.*f without the trailing zeros: "12.5", "300", "0".
std::string JsonFixed(double value, int decimals) {
  if (!std::isfinite(value)) return "null";
  std::string text = PortableFixed(value, decimals);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

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
  // With at most `decimals` decimals, written in one pass.
  Object& Fixed(std::string_view key, double value, int decimals = FrameDecimals) {
    return Raw(key, JsonFixed(value, decimals));
  }
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
  return Object().Fixed("value", tick.value, AxisDecimals).Text("label", tick.label).Close();
}

}  // namespace

std::string JsonStrings(const std::vector<std::string>& texts) {
  return Array(texts, [](const std::string& text) { return JsonString(text); });
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  return PortableShortest(value == 0 ? 0.0 : value);  // no "-0"
}

namespace {

Object ViewHead(const ProtocolView& view) {
  return Object()
      .Raw("titles", JsonStrings(view.titles))
      .Text("result", view.result)
      .Text("deviation", view.deviation)
      .Text("leftOut", view.left_out)
      .Text("summary", view.Summary())
      .Raw("warnings", JsonStrings(view.warnings));
}

}  // namespace

std::string ViewRowsJson(const ProtocolView& view, std::size_t first, std::size_t count) {
  const std::size_t begin = std::min(first, view.rows.size());
  const std::size_t end = begin + std::min(count, view.rows.size() - begin);
  std::string text = "[";
  for (std::size_t i = begin; i < end; ++i) {
    const ProtocolViewRow& row = view.rows[i];
    text += (i > begin ? "," : "") + Object()
                                         .Text("id", row.id)
                                         .Raw("cells", JsonStrings(view.Cells(i)))
                                         .Raw("outlier", Bool(row.outlier))
                                         .Raw("included", Bool(row.included))
                                         .Close();
  }
  return text + "]";
}

std::string ViewJson(const ProtocolView& view) {
  return ViewHead(view).Raw("rows", ViewRowsJson(view, 0, view.rows.size())).Close();
}

std::string ViewHeadJson(const ProtocolView& view) {
  return ViewHead(view).Raw("rowCount", std::to_string(view.rows.size())).Close();
}

std::string PlanJson(const PlotPlan& plan) {
  const std::string lines = Array(plan.lines, [](const PlotLine& line) {
    return Object()
        .Fixed("x1", line.x1)
        .Fixed("y1", line.y1)
        .Fixed("x2", line.x2)
        .Fixed("y2", line.y2)
        .Fixed("width", line.width)
        .Raw("colour", Colour(line.colour))
        .Close();
  });
  const std::string marks = Array(plan.marks, [](const PlotMark& mark) {
    return Object()
        .Fixed("x", mark.x)
        .Fixed("y", mark.y)
        .Fixed("radius", mark.radius)
        .Raw("outlier", Bool(mark.outlier))
        .Raw("fill", Colour(mark.fill))
        .Raw("edge", Colour(mark.edge))
        .Fixed("edgeWidth", mark.edge_width)
        .Close();
  });
  const std::string texts = Array(plan.texts, [](const PlotText& text) {
    return Object()
        .Fixed("x", text.x)
        .Fixed("y", text.y)
        .Text("text", text.text)
        .Fixed("size", text.size)
        .Raw("bold", Bool(text.bold))
        .Raw("anchor", JsonString(AnchorName(text.anchor)))
        .Raw("vertical", Bool(text.vertical))
        .Raw("colour", Colour(text.colour))
        .Close();
  });
  return Object()
      .Fixed("width", plan.width)
      .Fixed("height", plan.height)
      .Raw("background", Colour(plan.background))
      .Text("fontFamily", plan.font_family)
      .Fixed("left", plan.left)
      .Fixed("top", plan.top)
      .Fixed("right", plan.right)
      .Fixed("bottom", plan.bottom)
      .Fixed("xEnd", plan.x_end, AxisDecimals)
      .Fixed("yEnd", plan.y_end, AxisDecimals)
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
