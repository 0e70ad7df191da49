// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/form/form_json.h"

#include <cstdio>
#include <string_view>

#include "form/apparatus_text.h"
#include "form/form1.h"
#include "form/key_help.h"
#include "form/protocol_place.h"
#include "measurement/json_string.h"
#include "tools/form/page_html.h"

namespace varek::form {

namespace {

std::string Colour(const Rgb& rgb) {
  char text[16];
  std::snprintf(text, sizeof text, "\"#%02x%02x%02x\"", rgb.red, rgb.green, rgb.blue);
  return text;
}

std::string FontJson(const Font& font) {
  return "{\"pixels\": " + std::to_string(font.pixels) +
         ", \"bold\": " + (font.bold ? "true" : "false") + "}";
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Panel: return "panel";
    case Kind::Label: return "label";
    case Kind::Edit: return "edit";
    case Kind::Button: return "button";
    case Kind::CheckBox: return "checkBox";
    case Kind::RadioButton: return "radioButton";
    case Kind::ScrollBar: return "scrollBar";
    case Kind::PaintBox: return "paintBox";
    case Kind::Image: return "image";
    case Kind::SpinBox: return "spinBox";
    case Kind::Table: return "table";
    case Kind::Text: return "text";
    case Kind::Plot: return "plot";
  }
  return "";
}

const char* EditionName(Edition edition) {
  switch (edition) {
    case Edition::Both: return "both";
    case Edition::Desktop: return "desktop";
    case Edition::Page: return "page";
    case Edition::Column: return "column";
  }
  return "";
}

// The members of one JSON object, comma-separated.
class Members {
 public:
  void Add(std::string_view key, const std::string& value) {
    if (!text_.empty()) text_ += ", ";
    text_ += JsonString(key) + ": " + value;
  }
  void Add(std::string_view key, int value) { Add(key, std::to_string(value)); }
  void Add(std::string_view key, bool value) { Add(key, std::string(value ? "true" : "false")); }
  void AddText(std::string_view key, std::string_view value) {
    if (!value.empty()) Add(key, JsonString(value));
  }
  void AddBounds(const Bounds& b) {
    Add("left", b.left);
    Add("top", b.top);
    Add("width", b.width);
    Add("height", b.height);
  }
  std::string Object() const { return "{" + text_ + "}"; }

 private:
  std::string text_;
};

// A scroll bar's readout text at every position, minimum first: the page
// shows the characters the desktop's readout shows without a rule of its own.
std::string ReadoutTexts(const Slider& slider) {
  std::string texts;
  for (int position = slider.range.minimum; position <= slider.range.maximum; ++position)
    texts += (texts.empty() ? "" : ",") + JsonString(ReadoutText(slider.format, position));
  return "[" + texts + "]";
}

std::string SliderJson(const Slider& slider, Kind kind) {
  Members m;
  m.Add("orientation",
        JsonString(slider.orientation == Orientation::Vertical ? "vertical" : "horizontal"));
  m.Add("minimum", slider.range.minimum);
  m.Add("maximum", slider.range.maximum);
  m.Add("position", slider.range.position);
  m.Add("lineStep", slider.range.line_step);
  m.Add("pageStep", slider.range.page_step);
  m.Add("coarseStep", CoarsePageSteps * slider.range.page_step);
  m.Add("decimals", slider.format.decimals);
  m.Add("negated", slider.format.negated);
  m.AddText("unit", slider.format.unit);
  m.AddText("readout", slider.readout);
  if (kind == Kind::ScrollBar) m.Add("texts", ReadoutTexts(slider));
  return m.Object();
}

std::string ControlJson(const Control& c) {
  Members m;
  m.AddText("name", c.name);
  m.Add("kind", JsonString(KindName(c.kind)));
  m.AddText("parent", c.parent);
  m.AddBounds(c.bounds);
  m.Add("visible", c.visible);
  m.AddText("shownWhile", c.shown_while);
  m.AddText("caption", c.caption);
  if (c.font) m.Add("font", FontJson(*c.font));
  if (c.text) m.Add("text", Colour(*c.text));
  if (c.fill) m.Add("fill", Colour(*c.fill));
  if (c.kind == Kind::Panel)
    m.Add("bevel", JsonString(c.bevel == Bevel::Raised ? "raised" : "none"));
  if (c.slider) m.Add("slider", SliderJson(*c.slider, c.kind));
  if (c.step) {
    Members step;
    step.AddText("slider", c.step->slider);
    step.Add("positions", c.step->positions);
    m.Add("step", step.Object());
  }
  std::string places;
  for (const Place& place : c.places) {
    if (place.slider.empty()) continue;
    Members p;
    p.AddText("slider", place.slider);
    p.Add("position", place.position);
    places += (places.empty() ? "" : ", ") + p.Object();
  }
  if (!places.empty()) m.Add("places", "[" + places + "]");
  if (c.kind == Kind::CheckBox || c.kind == Kind::RadioButton) m.Add("checked", c.checked);
  if (c.tab_order) m.Add("tabOrder", *c.tab_order);
  m.AddText("accessibleName", c.accessible_name);
  m.AddText("accessibleDescription", c.accessible_description);
  if (c.described_by_data) m.Add("describedByData", true);
  m.AddText("hint", c.hint);
  m.AddText("shortcut", c.shortcut);
  m.AddText("picture", c.picture);
  m.AddText("names", c.names);
  if (c.beside) {
    Members beside;
    beside.AddBounds(*c.beside);
    m.Add("beside", beside.Object());
  }
  if (c.edition != Edition::Both) m.Add("edition", JsonString(EditionName(c.edition)));
  return m.Object();
}

// The keys the page shows on F1, and the names of its radio groups.
std::string KeysJson() {
  std::string rows;
  for (const KeyHelp& row : KeyHelpRows()) {
    if (!ShownIn(row.edition, Edition::Page)) continue;
    Members m;
    m.AddText("keys", row.keys);
    m.AddText("action", row.action);
    rows += (rows.empty() ? "" : ", ") + m.Object();
  }
  Members groups;
  for (const RadioGroupName& group : RadioGroupNames()) groups.AddText(group.panel, group.name);
  Members m;
  m.AddText("title", KeyHelpTitle);
  m.Add("rows", "[" + rows + "]");
  m.Add("radioGroups", groups.Object());
  return m.Object();
}

std::string WindowJson(const Window& w) {
  Members bounds;
  bounds.AddBounds(w.restored_outer);
  Members m;
  m.AddText("name", w.name);
  m.AddText("caption", w.caption);
  m.Add("restoredOuter", bounds.Object());
  m.Add("fill", Colour(w.fill));
  m.Add("font", FontJson(w.font));
  m.Add("text", Colour(w.text));
  return m.Object();
}

const char* StageName(SettingStage stage) {
  return stage == SettingStage::Paths ? "paths" : "view";
}

std::string SettingJson(const SettingRow& row) {
  Members m;
  m.AddText("name", row.name);
  m.Add("choice", row.IsChoice());
  m.Add("lowest", row.range.lowest);
  m.Add("highest", row.range.highest);
  m.Add("start", row.Start());
  m.AddText("yes", row.yes);
  m.AddText("no", row.no);
  std::string controls;
  for (std::string_view control : row.controls) {
    if (!control.empty()) controls += (controls.empty() ? "" : ", ") + JsonString(control);
  }
  m.Add("controls", "[" + controls + "]");
  m.Add("stage", JsonString(StageName(row.stage)));
  return m.Object();
}

const char* MeasureName(KeyMeasure measure) {
  switch (measure) {
    case KeyMeasure::Line: return "line";
    case KeyMeasure::Page: return "page";
    case KeyMeasure::End: return "end";
  }
  return "";
}

const char* ReferenceName(KeyReference reference) {
  switch (reference) {
    case KeyReference::Position: return "position";
    case KeyReference::Value: return "value";
    case KeyReference::Thumb: return "thumb";
  }
  return "";
}

std::string KeyRulesJson(KeyEdition edition) {
  std::string rules;
  for (const KeyRule& rule : ScrollKeyRules(edition)) {
    Members m;
    m.AddText("key", KeyName(rule.key));
    m.Add("direction", rule.direction);
    m.Add("measure", JsonString(MeasureName(rule.measure)));
    m.Add("reference", JsonString(ReferenceName(rule.reference)));
    rules += (rules.empty() ? "" : ",\n    ") + m.Object();
  }
  return "[\n    " + rules + "]";
}

// A list of JSON values, one a line.
template <typename Rows, typename Json>
std::string ListJson(const Rows& rows, Json json) {
  std::string list;
  for (const auto& row : rows) list += (list.empty() ? "  " : ",\n  ") + json(row);
  return "[\n" + list + "\n]";
}

}  // namespace

std::string Form1Json() {
  std::string json = "{\n\"window\": " + WindowJson(Form1Window()) +
                     ",\n\"controls\": " + ListJson(Form1Controls(), ControlJson);
  json += ",\n\"settings\": " + ListJson(SettingTable(), SettingJson);
  json += ",\n\"keyRules\": {\"desktop\": " + KeyRulesJson(KeyEdition::Desktop) +
          ",\n  \"page\": " + KeyRulesJson(KeyEdition::Page) + "}";
  json += ",\n\"tabChain\": [";
  const std::vector<std::string_view> chain = TabChain(Edition::Page);
  for (std::size_t i = 0; i < chain.size(); ++i) json += (i ? ", " : "") + JsonString(chain[i]);
  json += "],\n\"keys\": " + KeysJson();
  // The page chooses the protocol's place as ChooseProtocolPlace does.
  const FormSize beneath = ShownSize(true, ProtocolPlace::Beneath);
  const FormSize beside = ShownSize(true, ProtocolPlace::Beside);
  json += ",\n\"protocolPlaces\": {\"beneath\": {\"width\": " + std::to_string(beneath.width) +
          ", \"height\": " + std::to_string(beneath.height) +
          "}, \"beside\": {\"width\": " + std::to_string(beside.width) +
          ", \"height\": " + std::to_string(beside.height) +
          "}, \"besideLeastScale\": " + std::to_string(BesideLeastScale) + "}";
  json += ",\n\"protocolLoad\": {\"afterMs\": " + std::to_string(ProtocolLoadAfterMs) +
          ", \"idleAtMostMs\": " + std::to_string(ProtocolLoadIdleMs) + "}";
  json += ",\n\"apparatus\": " + JsonString(ApparatusText());
  // Keyed by the picture that shows each text.
  json += ",\n\"texts\": {\"Image1\": " + JsonString(InformationHtml()) +
          ",\n  \"Image2\": " + JsonString(DataHtml()) + "}";
  return json + "\n}\n";
}

}  // namespace varek::form
