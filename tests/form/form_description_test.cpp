// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's description: a sound table, and its JSON export read back
// (with Qt's JSON reader) equals it.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "form/form1.h"
#include "form/protocol_place.h"
#include "tools/form/form_json.h"

namespace varek::form {
namespace {

TEST(Form1Description, TableIsSound) {
  std::map<std::string_view, const Control*> seen{{Form1Window().name, nullptr}};
  std::set<std::pair<std::string_view, int>> tab_places;
  for (const Control& c : Form1Controls()) {
    EXPECT_TRUE(seen.emplace(c.name, &c).second) << c.name << " twice";
    const auto parent = seen.find(c.parent);
    ASSERT_NE(parent, seen.end()) << c.name << ": parent " << c.parent << " not before it";
    EXPECT_TRUE(parent->second == nullptr || parent->second->kind == Kind::Panel) << c.name;
    if (c.tab_order) {
      EXPECT_TRUE(tab_places.emplace(c.parent, *c.tab_order).second)
          << c.name << ": tab place taken";
    }
    EXPECT_EQ(c.slider.has_value(), c.kind == Kind::ScrollBar || c.kind == Kind::SpinBox) << c.name;
    if (c.slider) {
      const ScrollRange& r = c.slider->range;
      EXPECT_TRUE(r.minimum <= r.position && r.position <= r.maximum) << c.name;
      if (!c.slider->readout.empty()) {
        const Control* readout = FindControl(c.slider->readout);
        ASSERT_NE(readout, nullptr) << c.name;
        EXPECT_EQ(readout->kind, Kind::Edit) << c.name;
      }
    }
    if (!c.shown_while.empty()) {
      const Control* source = FindControl(c.shown_while);
      ASSERT_NE(source, nullptr) << c.name;
      EXPECT_EQ(c.visible, source->checked) << c.name << " at start";
    }
    if (!c.picture.empty()) {
      EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(VAREK_ASSETS_DIR) / c.picture))
          << c.picture;
    }
  }
  const std::vector<std::string_view> chain = TabChain();
  // What is seen, in order: the settings, the view, the protocol.
  EXPECT_EQ(chain.front(), "ScrollBar7");
  EXPECT_EQ(chain[2], "ScrollBar4");
  EXPECT_EQ(chain[11], "ScrollBar1");
  EXPECT_EQ(chain[24], "ProtocolButton");
  EXPECT_EQ(chain[35], "ProtocolPdf");
  EXPECT_EQ(chain[36], "ProtocolTable");
  EXPECT_EQ(chain.back(), "Button14");
  EXPECT_EQ(chain.size(), 38u);
  const std::vector<std::string_view> page = TabChain(Edition::Page);
  EXPECT_EQ(page[35], "ProtocolPrint");
  EXPECT_EQ(page.size(), 38u);
}

// The form's rectangle of a row: its bounds moved by those of its parents.
Bounds OnForm(const Control& row) {
  Bounds b = row.bounds;
  for (const Control* p = FindControl(row.parent); p != nullptr; p = FindControl(p->parent)) {
    b.left += p->bounds.left;
    b.top += p->bounds.top;
  }
  return b;
}

bool Overlap(const Bounds& a, const Bounds& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// The protocol's two panels keep the window at the information page's size
// (so that it is shown as large with them as without), and they leave in
// view what a reading is taken with.
TEST(Form1Description, ProtocolCoversNothingThatReadingsNeed) {
  const Bounds page = FindControl("Panel4")->bounds;
  for (std::string_view panel : {"Protocol", "ProtocolReadings"}) {
    const Bounds b = FindControl(panel)->bounds;
    EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.left + b.width <= page.width &&
                b.top + b.height <= page.height)
        << panel;
    for (std::string_view kept : {"PaintBox1", "ScrollBar1", "ScrollBar2", "ScrollBar7", "Edit5",
                                  "ScrollBar4", "Edit1", "Label2", "Label10", "ProtocolButton"}) {
      EXPECT_FALSE(Overlap(b, OnForm(*FindControl(kept)))) << panel << " covers " << kept;
    }
  }
  for (const Control& c : Form1Controls()) {
    const Control* parent = FindControl(c.parent);
    if (parent == nullptr || c.kind == Kind::Label) continue;
    EXPECT_TRUE(c.bounds.left >= 0 && c.bounds.top >= 0 &&
                c.bounds.left + c.bounds.width <= parent->bounds.width &&
                c.bounds.top + c.bounds.height <= parent->bounds.height)
        << c.name << " sticks out of " << c.parent;
  }
}

// Beside the form the protocol covers nothing of it: its panels lie right
// of every other control of the window, its rows within their panels; the
// place is chosen by the room (what the windows of the screens of a
// classroom get: 4:3 and 16:10 keep the protocol beneath, 16:9 and wider
// get it beside).
TEST(Form1Description, ProtocolBesideCoversNothingAndIsChosenByTheRoom) {
  const FormSize beside = ShownSize(true, ProtocolPlace::Beside);
  std::set<std::string_view> protocol{"Protocol", "ProtocolReadings"};
  for (const Control& c : Form1Controls()) {
    if (protocol.contains(c.parent)) protocol.insert(c.name);
  }
  for (std::string_view panel : {"Protocol", "ProtocolReadings"}) {
    const Bounds b = *FindControl(panel)->beside;
    EXPECT_LE(b.left + b.width, beside.width) << panel;
    EXPECT_LE(b.top + b.height, beside.height) << panel;
    for (const Control& c : Form1Controls()) {
      if (protocol.contains(c.name) || c.parent == "Panel4" || c.name == "Panel4" ||
          !ShownIn(c, Edition::Desktop))
        continue;
      EXPECT_FALSE(Overlap(b, OnForm(c))) << panel << " covers " << c.name;
    }
    for (const Control& c : Form1Controls()) {
      if (c.parent != panel || c.kind == Kind::Label) continue;
      const Bounds& r = PlacedBounds(c, ProtocolPlace::Beside);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= b.width &&
                  r.top + r.height <= b.height)
          << c.name << " sticks out of " << panel << " beside the form";
    }
  }
  EXPECT_EQ(ShownSize(true, ProtocolPlace::Beneath), ShownSize(false, ProtocolPlace::Beside));
  // Rooms of maximised windows (client areas) and of full screens.
  const struct {
    int width, height;
    ProtocolPlace place;
  } rooms[] = {{1008, 730, ProtocolPlace::Beneath}, {1024, 768, ProtocolPlace::Beneath},
               {1264, 762, ProtocolPlace::Beneath}, {1280, 701, ProtocolPlace::Beneath},
               {1366, 749, ProtocolPlace::Beneath}, {1600, 881, ProtocolPlace::Beside},
               {1920, 1061, ProtocolPlace::Beside}, {1920, 1080, ProtocolPlace::Beside},
               {3840, 2141, ProtocolPlace::Beside}, {3000, 900, ProtocolPlace::Beside},
               {1400, 600, ProtocolPlace::Beside}};
  for (const auto& room : rooms) {
    const ProtocolPlace place = ChooseProtocolPlace(room.width, room.height);
    EXPECT_EQ(place, room.place) << room.width << " x " << room.height;
    // Beside, nothing is covered and the form is shown at its own size or
    // larger, or as large as beneath.
    if (place == ProtocolPlace::Beside) {
      EXPECT_GE(FitScale(room.width, room.height, beside),
                std::min(BesideLeastScale, FitScale(room.width, room.height,
                                                    ShownSize(true, ProtocolPlace::Beneath))));
    }
  }
}

// A step button says what it does: its caption the signed step in the unit of
// its bar's readout or in thousandths of it ("+10 mA" for 10 positions of a
// bar read in A with three decimals), its name the same words with "erhöhen"
// or "verringern" after the bar's name.
TEST(Form1Description, StepButtonsSayTheirStep) {
  int buttons = 0;
  for (const Control& c : Form1Controls()) {
    if (!c.step) continue;
    ++buttons;
    const Control* bar = FindControl(c.step->slider);
    ASSERT_TRUE(bar != nullptr && bar->kind == Kind::ScrollBar) << c.name;
    const ReadoutFormat& format = bar->slider->format;
    const int magnitude = std::abs(c.step->positions);
    std::string words = std::to_string(magnitude) + " m" + std::string(format.unit);
    if (format.decimals == 0) words = std::to_string(magnitude) + " " + std::string(format.unit);
    else ASSERT_EQ(format.decimals, 3) << c.name;
    const bool up = c.step->positions > 0;
    EXPECT_EQ(c.caption, (up ? "+" : "\u2212") + words) << c.name;
    const std::string_view bar_name =
        bar->accessible_name.substr(0, bar->accessible_name.find(" in "));
    EXPECT_EQ(c.accessible_name,
              std::string(bar_name) + " um " + words + (up ? " erhöhen" : " verringern"));
    EXPECT_EQ(c.edition, Edition::Column) << c.name;
  }
  EXPECT_EQ(buttons, 8);
}

// Reads the export back into rows; the strings live in `texts`.
class Reader {
 public:
  std::string_view Text(const QJsonObject& o, const char* key) {
    if (!o.contains(key)) return {};
    return texts_.emplace_back(o[key].toString().toStdString());
  }
  static Rgb Colour(const QJsonValue& v) {
    const unsigned rgb = v.toString().mid(1).toUInt(nullptr, 16);
    return {static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xff),
            static_cast<int>(rgb & 0xff)};
  }
  static Font FontOf(const QJsonValue& v) { return {v["pixels"].toInt(), v["bold"].toBool()}; }
  static Bounds BoundsOf(const QJsonObject& o) {
    return {o["left"].toInt(), o["top"].toInt(), o["width"].toInt(), o["height"].toInt()};
  }

  Control ControlOf(const QJsonObject& o) {
    static const std::map<QString, Kind> kinds = {{"panel", Kind::Panel},
                                                  {"label", Kind::Label},
                                                  {"edit", Kind::Edit},
                                                  {"button", Kind::Button},
                                                  {"checkBox", Kind::CheckBox},
                                                  {"radioButton", Kind::RadioButton},
                                                  {"scrollBar", Kind::ScrollBar},
                                                  {"paintBox", Kind::PaintBox},
                                                  {"image", Kind::Image},
                                                  {"spinBox", Kind::SpinBox},
                                                  {"table", Kind::Table},
                                                  {"text", Kind::Text},
                                                  {"plot", Kind::Plot}};
    Control c;
    c.name = Text(o, "name");
    c.kind = kinds.at(o["kind"].toString());
    c.parent = Text(o, "parent");
    c.bounds = BoundsOf(o);
    c.caption = Text(o, "caption");
    if (o.contains("font")) c.font = FontOf(o["font"]);
    if (o.contains("text")) c.text = Colour(o["text"]);
    if (o.contains("fill")) c.fill = Colour(o["fill"]);
    if (o["bevel"] == "none") c.bevel = Bevel::None;
    if (o.contains("slider")) {
      const QJsonObject s = o["slider"].toObject();
      c.slider =
          Slider{s["orientation"] == "vertical" ? Orientation::Vertical : Orientation::Horizontal,
                 {s["minimum"].toInt(), s["maximum"].toInt(), s["position"].toInt(),
                  s["lineStep"].toInt(), s["pageStep"].toInt()},
                 ReadoutFormat{s["decimals"].toInt(), s["negated"].toBool(), Text(s, "unit")},
                 Text(s, "readout")};
    }
    const QJsonArray places = o["places"].toArray();
    for (qsizetype i = 0; i < places.size() && i < std::ssize(c.places); ++i) {
      const QJsonObject place = places[i].toObject();
      c.places[static_cast<std::size_t>(i)] = {Text(place, "slider"), place["position"].toInt()};
    }
    if (o.contains("step")) {
      const QJsonObject s = o["step"].toObject();
      c.step = Step{Text(s, "slider"), s["positions"].toInt()};
    }
    c.checked = o["checked"].toBool();
    c.visible = o["visible"].toBool();
    c.shown_while = Text(o, "shownWhile");
    if (o.contains("tabOrder")) c.tab_order = o["tabOrder"].toInt();
    c.accessible_name = Text(o, "accessibleName");
    c.accessible_description = Text(o, "accessibleDescription");
    c.described_by_data = o["describedByData"].toBool();
    c.hint = Text(o, "hint");
    c.shortcut = Text(o, "shortcut");
    c.picture = Text(o, "picture");
    c.names = Text(o, "names");
    if (o.contains("beside")) c.beside = BoundsOf(o["beside"].toObject());
    static const std::map<QString, Edition> editions = {
        {"desktop", Edition::Desktop}, {"page", Edition::Page}, {"column", Edition::Column}};
    if (o.contains("edition")) c.edition = editions.at(o["edition"].toString());
    return c;
  }

 private:
  std::deque<std::string> texts_;
};

TEST(Form1Description, JsonExportReadsBackAsTheTable) {
  QJsonParseError error;
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray::fromStdString(Form1Json()), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  const QJsonObject root = document.object();
  Reader reader;

  const QJsonObject w = root["window"].toObject();
  const Window window{reader.Text(w, "name"),
                      reader.Text(w, "caption"),
                      Reader::BoundsOf(w["restoredOuter"].toObject()),
                      Reader::Colour(w["fill"]),
                      Reader::FontOf(w["font"]),
                      Reader::Colour(w["text"])};
  EXPECT_EQ(window, Form1Window());

  const QJsonArray controls = root["controls"].toArray();
  ASSERT_EQ(static_cast<std::size_t>(controls.size()), Form1Controls().size());
  for (qsizetype i = 0; i < controls.size(); ++i) {
    const Control& c = Form1Controls()[i];
    EXPECT_EQ(reader.ControlOf(controls[i].toObject()), c) << c.name;
    // The page's readout of a scroll bar is its text at the position: the
    // characters the desktop writes there, at every position.
    if (c.kind != Kind::ScrollBar) continue;
    const QJsonArray texts = controls[i]["slider"]["texts"].toArray();
    const ScrollRange& range = c.slider->range;
    ASSERT_EQ(texts.size(), range.maximum - range.minimum + 1) << c.name;
    for (int position = range.minimum; position <= range.maximum; ++position) {
      ASSERT_EQ(texts[position - range.minimum].toString().toStdString(),
                ReadoutText(c.slider->format, position))
          << c.name << " at " << position;
    }
  }

  std::vector<std::string_view> chain;
  for (const auto& name : root["tabChain"].toArray())
    chain.push_back(reader.Text(QJsonObject{{"n", name}}, "n"));
  EXPECT_EQ(chain, TabChain(Edition::Page));
}

}  // namespace
}  // namespace varek::form
