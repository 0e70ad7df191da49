// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Form1's controls with their initial values. Labels are as large as their
// text. The desktop widens a check box or radio button whose caption its font
// would clip; each has free room to its right.
#include "form/form1.h"
#include "form/key_help.h"
#include "measurement/captions.h"
#include "measurement/protocol_texts.h"

namespace varek::form {

namespace {
constexpr Rgb kWindowColour{38, 74, 74};
constexpr Rgb kOuterPanel{91, 91, 91};
constexpr Rgb kInnerPanel{65, 65, 65};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWarning{255, 210, 150};  // 4.8 : 1 on the panel, for 13 px text
constexpr Font kBold13{13, true};
constexpr Font kRegular13{13, false};
constexpr Font kRegular11{11, false};

constexpr Window kForm1{
    .name = "Form1",
    .caption = "Spezifische Ladung des Elektrons - Varek-Methode",
    .restored_outer = {116, 186, 1067, 931},
    .fill = kWindowColour,
    .font = kRegular11,
    .text = kBlack,
};

// The rows are laid out by hand, a row a control.
// clang-format off
// Shorthands for the rows that recur.
constexpr Control Panel(std::string_view name, std::string_view parent, Bounds bounds, Rgb fill,
                        int tab_order) {
  return {.name = name, .kind = Kind::Panel, .parent = parent, .bounds = bounds, .fill = fill,
          .tab_order = tab_order};
}
constexpr Control Label(std::string_view name, std::string_view parent, int left, int top,
                        std::string_view caption, Font font = kBold13) {
  return {.name = name, .kind = Kind::Label, .parent = parent, .bounds = {left, top, 0, 0},
          .caption = caption, .font = font, .text = kWhite};
}
constexpr Control Readout(std::string_view name, std::string_view parent, Bounds bounds,
                          int tab_order, std::string_view accessible_name) {
  return {.name = name, .kind = Kind::Edit, .parent = parent, .bounds = bounds, .font = kBold13,
          .text = kBlack, .fill = kWhite, .tab_order = tab_order,
          .accessible_name = accessible_name};
}
constexpr Control Button(std::string_view name, std::string_view parent, Bounds bounds,
                         std::string_view caption, int tab_order) {
  return {.name = name, .kind = Kind::Button, .parent = parent, .bounds = bounds,
          .caption = caption, .font = kBold13, .tab_order = tab_order};
}
constexpr Control Choice(Kind kind, std::string_view name, std::string_view parent, Bounds bounds,
                         std::string_view caption, bool checked, int tab_order,
                         std::string_view accessible_name = {}, Font font = kBold13) {
  return {.name = name, .kind = kind, .parent = parent, .bounds = bounds, .caption = caption,
          .font = font, .text = kWhite, .checked = checked, .tab_order = tab_order,
          .accessible_name = accessible_name};
}
constexpr Control ScrollBar(std::string_view name, std::string_view parent, Bounds bounds,
                            Slider slider, int tab_order, std::string_view accessible_name) {
  return {.name = name, .kind = Kind::ScrollBar, .parent = parent, .bounds = bounds,
          .slider = slider, .tab_order = tab_order, .accessible_name = accessible_name};
}
// A view button: it turns the apparatus back to 0 degrees about the z axis
// and to `side` degrees left-right.
constexpr Control ViewButton(std::string_view name, Bounds bounds, std::string_view caption,
                             int tab_order, int side) {
  Control button = Button(name, "Panel8", bounds, caption, tab_order);
  button.places = {Place{Setting("turn").controls[0], 0}, Place{Setting("side").controls[0], side}};
  return button;
}
// A setting's scroll bar: its range, start, steps and readout from the table
// of the settings.
constexpr Slider SettingSlider(std::string_view setting, Orientation orientation) {
  const SettingRow& row = Setting(setting);
  return {orientation,
          {row.range.lowest, row.range.highest, row.Start(), row.line_step,
           row.page_step},
          row.readout.value_or(ReadoutFormat{}), row.readout_control};
}
// Whether a check box or radio button of a setting is checked at start.
constexpr bool CheckedAtStart(std::string_view setting, std::string_view control) {
  const SettingRow& row = Setting(setting);
  return row.CheckedControl(row.Start()) == control;
}
// The column arrangement's row of step buttons beside a setting's scroll bar,
// and one of them: it moves the bar by `positions`.
constexpr Control StepRow(std::string_view name) {
  return {.name = name, .kind = Kind::Panel, .parent = "Panel1", .fill = kInnerPanel,
          .bevel = Bevel::None, .edition = Edition::Column};
}
constexpr Control StepButton(std::string_view name, std::string_view parent,
                             std::string_view setting, int positions, std::string_view caption,
                             std::string_view accessible_name) {
  return {.name = name, .kind = Kind::Button, .parent = parent, .caption = caption,
          .font = kBold13, .step = Step{Setting(setting).controls[0], positions},
          .accessible_name = accessible_name, .edition = Edition::Column};
}
constexpr int kCurrentFine = Setting("current").line_step;               // 1 mA
constexpr int kCurrentPage = Setting("current").page_step;               // 10 mA
constexpr int kVoltageFine = Setting("voltage").page_step;               // 10 V
constexpr int kVoltagePage = CoarsePageSteps * Setting("voltage").page_step;  // 100 V
// A protocol row that stands elsewhere when the protocol is beside the form.
constexpr Control Beside(Control row, Bounds beside) {
  row.beside = beside;
  return row;
}
constexpr Kind kCheckBox = Kind::CheckBox;
constexpr Kind kRadio = Kind::RadioButton;
constexpr Orientation kHorizontal = Orientation::Horizontal;

constexpr Control kControls[] = {
    {.name = "PaintBox1", .kind = Kind::PaintBox, .parent = "Form1", .bounds = {8, 8, 720, 440},
     .accessible_name = "Ansicht der Apparatur",
     .accessible_description =
         "Drahtmodell von Spule, Ablenkplatten, Röhre, Schirm und Elektronenbahnen"},

    // Right column: view, path width, main buttons.
    {.name = "Panel6", .kind = Kind::Panel, .parent = "Form1", .bounds = {752, 8, 241, 665},
     .font = kBold13, .text = kWhite, .fill = kOuterPanel, .tab_order = 3},
    Panel("Panel2", "Panel6", {8, 12, 225, 373}, kInnerPanel, 0),
    Panel("Panel5", "Panel2", {0, 0, 225, 57}, kInnerPanel, 2),
    Label("Label12", "Panel5", 24, 9, "Drehung der Anordnung"),
    Label("Label9", "Panel5", 32, 28, "(mit Hilfe der Schieberegler)", kRegular11),
    Label("Label13", "Panel2", 8, 76, "um die z-Achse"),
    Readout("Edit7", "Panel2", {120, 72, 41, 22}, 0, "Anzeige Drehung um die z-Achse in Grad"),
    Label("Label15", "Panel2", 168, 76, "Grad"),
    Label("Label14", "Panel2", 8, 116, "links <-> rechts"),
    Readout("Edit8", "Panel2", {120, 112, 41, 22}, 1, "Anzeige Drehung links-rechts in Grad"),
    Label("Label16", "Panel2", 168, 116, "Grad"),
    Choice(kCheckBox, "CheckBox5", "Panel2", {16, 168, 137, 17}, "Spule sichtbar",
           CheckedAtStart("coil", "CheckBox5"), 3),
    Choice(kCheckBox, "CheckBox1", "Panel2", {16, 208, 169, 17}, "Schirm durchsichtig",
           CheckedAtStart("transparent", "CheckBox1"), 4),
    Panel("Panel8", "Panel2", {0, 236, 225, 137}, kInnerPanel, 5),
    Label("Label4", "Panel8", 72, 17, "Ansicht"),
    ViewButton("Button5", {14, 48, 187, 25}, caption::ViewFromSide, 0, 0),
    ViewButton("Button3", {14, 88, 187, 25}, caption::ViewFromFront, 1, -90),
    Panel("Panel7", "Panel6", {8, 396, 225, 69}, kInnerPanel, 1),
    Label("Label7", "Panel7", 8, 24, "Dicke der Teilchenbahn"),
    Choice(kRadio, "RadioButton1", "Panel7", {184, 8, 33, 17}, "1",
           CheckedAtStart("width", "RadioButton1"), 0,
           "Dicke der Teilchenbahn 1"),
    Choice(kRadio, "RadioButton2", "Panel7", {184, 36, 33, 17}, "2",
           CheckedAtStart("width", "RadioButton2"), 1,
           "Dicke der Teilchenbahn 2"),
    Panel("Panel3", "Panel6", {8, 475, 225, 183}, kInnerPanel, 2),
    Button("Button1", "Panel3", {22, 30, 187, 25}, caption::InformationPage, 0),
    Button("Button6", "Panel3", {22, 80, 187, 25}, caption::DataPage, 1),
    Button("Button2", "Panel3", {22, 132, 185, 25}, "ENDE", 2),

    // The view scroll bars beside and below the scene.
    ScrollBar("ScrollBar1", "Form1", {732, 8, 12, 441},
              SettingSlider("turn", Orientation::Vertical),
              1, "Drehung um die z-Achse in Grad"),
    ScrollBar("ScrollBar2", "Form1", {8, 452, 713, 12},
              SettingSlider("side", kHorizontal),
              2, "Drehung links-rechts in Grad"),

    // Bottom block: the experiment settings and the data page over them.
    Panel("Panel9", "Form1", {8, 472, 745, 201}, kOuterPanel, 0),
    {.name = "Panel1", .kind = Kind::Panel, .parent = "Panel9", .bounds = {8, 10, 729, 183},
     .font = kRegular11, .text = kBlack, .fill = kInnerPanel, .tab_order = 0},
    Label("Label2", "Panel1", 24, 20, "Spulenstrom ( in A )"),
    ScrollBar("ScrollBar7", "Panel1", {272, 24, 345, 12},
              SettingSlider("current", kHorizontal), 0,
              "Spulenstrom in A"),
    Readout("Edit5", "Panel1", {632, 18, 49, 22}, 1, "Anzeige Spulenstrom in A"),
    // For fingers: fine steps of the current and the voltage below their
    // scroll bars, the field between them to type a value.
    StepRow("CurrentSteps"),
    StepButton("CurrentDown10", "CurrentSteps", "current", -kCurrentPage, "\u221210 mA",
               "Spulenstrom um 10 mA verringern"),
    StepButton("CurrentDown1", "CurrentSteps", "current", -kCurrentFine, "\u22121 mA",
               "Spulenstrom um 1 mA verringern"),
    StepButton("CurrentUp1", "CurrentSteps", "current", kCurrentFine, "+1 mA",
               "Spulenstrom um 1 mA erhöhen"),
    StepButton("CurrentUp10", "CurrentSteps", "current", kCurrentPage, "+10 mA",
               "Spulenstrom um 10 mA erhöhen"),
    Label("Label10", "Panel1", 24, 60, "Beschleunigungsspannung ( in V )"),
    ScrollBar("ScrollBar4", "Panel1", {272, 64, 345, 12},
              SettingSlider("voltage", kHorizontal), 2,
              "Beschleunigungsspannung in V"),
    Readout("Edit1", "Panel1", {632, 58, 49, 22}, 3, "Anzeige Beschleunigungsspannung in V"),
    StepRow("VoltageSteps"),
    StepButton("VoltageDown100", "VoltageSteps", "voltage", -kVoltagePage, "\u2212100 V",
               "Beschleunigungsspannung um 100 V verringern"),
    StepButton("VoltageDown10", "VoltageSteps", "voltage", -kVoltageFine, "\u221210 V",
               "Beschleunigungsspannung um 10 V verringern"),
    StepButton("VoltageUp10", "VoltageSteps", "voltage", kVoltageFine, "+10 V",
               "Beschleunigungsspannung um 10 V erhöhen"),
    StepButton("VoltageUp100", "VoltageSteps", "voltage", kVoltagePage, "+100 V",
               "Beschleunigungsspannung um 100 V erhöhen"),
    Label("Label1", "Panel1", 24, 120, caption::Deflection),
    Choice(kRadio, "AblenkEin", "Panel1", {160, 112, 49, 17}, caption::DeflectionOn,
           CheckedAtStart("deflection", "AblenkEin"), 4, "Ablenkspannung ein"),
    Choice(kRadio, "AblenkAus", "Panel1", {160, 136, 57, 17}, "Aus",
           CheckedAtStart("deflection", "AblenkAus"), 5, "Ablenkspannung aus"),
    // A tone whose pitch rises as the marks meet at the screen's centre
    // (render/beam_marks.h).
    {.name = "ToneSwitch", .kind = Kind::CheckBox, .parent = "Panel1", .bounds = {24, 152, 65, 17},
     .caption = "Ton", .font = kBold13, .text = kWhite, .tab_order = 7,
     .accessible_description = "Ein Ton, der höher wird, je näher sich die Marken in der "
                               "Schirmmitte kommen, und anders klingt, wenn sie sich treffen"},
    // Flat on the same ground as Panel1: it reaches up to the voltage's row
    // for the amplitude's label over its scroll bar.
    {.name = "Panel11", .kind = Kind::Panel, .parent = "Panel1", .bounds = {256, 82, 457, 94},
     .fill = kInnerPanel, .bevel = Bevel::None,
     .visible = CheckedAtStart("deflection", "AblenkEin"), .shown_while = "AblenkEin",
     .tab_order = 6},
    {.name = "Label17", .kind = Kind::Label, .parent = "Panel11", .bounds = {16, 6, 0, 0},
     .caption = "Amplitude", .font = kRegular11, .text = kWhite, .names = "ScrollBar3"},
    ScrollBar("ScrollBar3", "Panel11", {16, 22, 161, 12},
              SettingSlider("amplitude", kHorizontal), 0,
              "Amplitude der Ablenkspannung"),
    Choice(kRadio, "Gleichspannung", "Panel11", {16, 45, 113, 17}, "Gleichspannung",
           CheckedAtStart("mode", "Gleichspannung"), 1, {},
           kRegular13),
    Choice(kRadio, "Wechselspannung", "Panel11", {16, 69, 137, 17}, "Wechselspannung",
           CheckedAtStart("mode", "Wechselspannung"), 2, {},
           kRegular13),
    {.name = "Image3", .kind = Kind::Image, .parent = "Panel11", .bounds = {192, 20, 241, 50},
     .accessible_name = "Achsen der Ablenkspannung", .picture = "image3_signal_axes.jpg"},
    // The plot is drawn over the axes picture.
    {.name = "PaintBox2", .kind = Kind::PaintBox, .parent = "Panel11", .bounds = {192, 20, 241, 50},
     .accessible_name = "Verlauf der Ablenkspannung",
     .accessible_description =
         "Rechteckspannung bei Wechselspannung, waagerechte Linie bei Gleichspannung"},
    {.name = "Panel10", .kind = Kind::Panel, .parent = "Panel9", .bounds = {8, 10, 729, 183},
     .fill = kInnerPanel, .visible = false, .tab_order = 1},
    // The picture is 176 pixels high: its lowest 11 rows are clipped.
    {.name = "Image2", .kind = Kind::Image, .parent = "Panel10", .bounds = {17, 9, 531, 165},
     .accessible_name = "Daten der Apparatur", .described_by_data = true,
     .picture = "image2_data.jpg"},
    Button("Button7", "Panel10", {584, 72, 89, 41}, caption::CloseDataPage, 0),

    // The way to the measurement protocol, in the free room below the right
    // column, aligned with Panel3.
    {.name = "ProtocolButton", .kind = Kind::Button, .parent = "Form1", .bounds = {760, 681, 225, 25},
     .caption = "Messprotokoll", .font = kBold13, .tab_order = 4,
     .hint = "Messprotokoll zeigen oder verbergen (Strg+M)", .shortcut = "Ctrl+M"},

    // The live line under the settings: what keeps the focus from being
    // read, before a reading is taken. The program writes it.
    {.name = "ReadingHint", .kind = Kind::Text, .parent = "Form1", .bounds = {8, 679, 584, 34},
     .font = kBold13, .text = kWarning, .fill = kWindowColour,
     .accessible_name = "Hinweis zur Messung"},

    // The measurement protocol in two panels, so that the window keeps its
    // size and scale with it: the recording, the result and the files over
    // the right column (the view settings are not needed while readings are
    // taken), the readings' table and plot in the band below the voltage
    // (y = 558), over the deflection settings and the line beneath them. The
    // scene, the coil current, the voltage and "Messprotokoll" stay in view.
    // Shown and hidden together by "Messprotokoll"; the program fills the
    // table, the texts and the plot. Under the information page like every
    // working control.
    // Beside the form (where the screen is wide: form/protocol_place.h) the
    // two panels stand one over the other right of the form, the result and
    // the files beside the recording, the table and the plot as wide as the
    // table's columns need, and they cover nothing. There the status line
    // and the warnings (under the result) have room for five lines each: an
    // outlier's warning takes four.
    {.name = "Protocol", .kind = Kind::Panel, .parent = "Form1", .bounds = {752, 8, 241, 665},
     .font = kRegular13, .text = kWhite, .fill = kOuterPanel, .visible = false, .tab_order = 5,
     .beside = Bounds{1001, 8, 472, 324}},
    // The order and the reading uncertainty of the next readings, the button
    // that records one and the line that tells how it went.
    Label("ProtocolOrderLabel", "Protocol", 8, 12, "Fokusordnung k:"),
    {.name = "ProtocolOrder", .kind = Kind::SpinBox, .parent = "Protocol", .bounds = {165, 8, 68, 25},
     .font = kBold13, .text = kBlack, .fill = kWhite,
     .slider = Slider{kHorizontal, {1, 4, 1, 1, 1}, {}, ""}, .tab_order = 0,
     .accessible_name = "Fokusordnung k"},
    Label("ProtocolUncertaintyLabel", "Protocol", 8, 41, "± ΔI in mA:"),
    {.name = "ProtocolUncertainty", .kind = Kind::SpinBox, .parent = "Protocol",
     .bounds = {165, 37, 68, 25}, .font = kBold13, .text = kBlack, .fill = kWhite,
     .slider = Slider{kHorizontal, {0, 300, 0, 1, 5}, {}, ""},
     .tab_order = 1, .accessible_name = "Ableseunsicherheit ± ΔI in mA",
     .hint = protocol_caption::UncertaintyHint},
    {.name = "ProtocolRecord", .kind = Kind::Button, .parent = "Protocol", .bounds = {8, 68, 225, 25},
     .caption = caption::Record, .font = kBold13, .tab_order = 2,
     .hint = "Die Einstellungen als Messwert übernehmen (Strg+Eingabe, überall im Fenster)",
     .shortcut = "Ctrl+Return"},
    {.name = "ProtocolStatus", .kind = Kind::Text, .parent = "Protocol", .bounds = {8, 98, 225, 62},
     .font = kRegular13, .text = kWhite, .fill = kOuterPanel,
     .accessible_name = "Meldung des Messprotokolls", .beside = Bounds{8, 98, 225, 102}},
    Beside(Button("ProtocolDelete", "Protocol", {8, 164, 110, 25}, "Zeile löschen", 4),
           {8, 204, 110, 25}),
    Beside(Button("ProtocolClear", "Protocol", {123, 164, 110, 25}, "Alle löschen", 5),
           {123, 204, 110, 25}),
    {.name = "ProtocolUndo", .kind = Kind::Button, .parent = "Protocol", .bounds = {8, 193, 225, 25},
     .caption = "Rückgängig", .font = kBold13, .tab_order = 6,
     .hint = "Die letzte Löschung zurückholen (Strg+Z)", .shortcut = "Ctrl+Z",
     .beside = Bounds{8, 233, 225, 25}},
    {.name = "ProtocolResult", .kind = Kind::Text, .parent = "Protocol", .bounds = {8, 222, 225, 140},
     .font = kBold13, .text = kWhite, .fill = kOuterPanel, .accessible_name = "Ergebnis",
     .beside = Bounds{239, 8, 225, 120}},
    {.name = "ProtocolWarnings", .kind = Kind::Text, .parent = "Protocol", .bounds = {8, 366, 225, 138},
     .font = kRegular13, .text = kWarning, .fill = kOuterPanel,
     .accessible_name = "Hinweise zu den Messwerten", .beside = Bounds{239, 132, 225, 97}},
    Beside(Button("ProtocolImport", "Protocol", {8, 508, 225, 25}, "CSV importieren …", 7),
           {8, 262, 225, 25}),
    Beside(Button("ProtocolExport", "Protocol", {8, 537, 225, 25}, protocol_caption::ExportButton, 8),
           {239, 262, 225, 25}),
    Beside(Button("ProtocolPng", "Protocol", {8, 566, 225, 25}, "Diagramm als PNG …", 9),
           {8, 291, 225, 25}),
    Beside(Button("ProtocolSvg", "Protocol", {8, 595, 225, 25}, "Diagramm als SVG …", 10),
           {239, 291, 225, 25}),
    {.name = "ProtocolPdf", .kind = Kind::Button, .parent = "Protocol", .bounds = {8, 624, 225, 25},
     .caption = "Als PDF speichern …", .font = kBold13, .tab_order = 11, .edition = Edition::Desktop,
     .beside = Bounds{239, 233, 225, 25}},
    // In its place in the page: the protocol as the PDF page shows it, on paper or as PDF.
    {.name = "ProtocolPrint", .kind = Kind::Button, .parent = "Protocol", .bounds = {8, 624, 225, 25},
     .caption = "Drucken …", .font = kBold13, .tab_order = 12,
     .hint = "Das Protokoll mit Tabelle, Ergebnis und Diagramm drucken oder als PDF speichern (Strg+P)",
     .shortcut = "Ctrl+P", .edition = Edition::Page, .beside = Bounds{239, 233, 225, 25}},
    // The readings beneath the settings, as wide as they: the table (a
    // heading and five rows in view) beside the plot.
    {.name = "ProtocolReadings", .kind = Kind::Panel, .parent = "Form1", .bounds = {8, 566, 745, 147},
     .font = kRegular13, .text = kWhite, .fill = kOuterPanel, .visible = false, .tab_order = 6,
     .beside = Bounds{1001, 340, 472, 373}},
    {.name = "ProtocolTable", .kind = Kind::Table, .parent = "ProtocolReadings", .bounds = {8, 8, 456, 131},
     .font = kRegular13, .text = kBlack, .fill = kWhite, .tab_order = 0,
     .accessible_name = "Messwerte", .hint = protocol_caption::DeflectionLegend,
     .beside = Bounds{8, 8, 456, 197}},
    {.name = "ProtocolPlot", .kind = Kind::Plot, .parent = "ProtocolReadings", .bounds = {472, 8, 265, 131},
     .accessible_name = protocol_caption::PlotName, .beside = Bounds{8, 213, 456, 152}},

    // The information page over everything.
    Panel("Panel4", "Form1", {0, 0, 1004, 721}, kInnerPanel, 7),
    {.name = "Image1", .kind = Kind::Image, .parent = "Panel4", .bounds = {0, 16, 1004, 654},
     .accessible_name = "Erklärungen",
     .accessible_description = "Erklärung der Varek-Methode mit den Formeln bis zur spezifischen "
                               "Ladung e/m = 8π²U / (B²s²)",
     .picture = "image1_information.jpg"},
    Label("Label3", "Panel4", 864, 696, "Physik-Simulation", kRegular11),
    Button("Button14", "Panel4", {432, 684, 153, 25}, caption::Continue, 0),
};
// clang-format on
}  // namespace

const Window& Form1Window() { return kForm1; }

std::span<const Control> Form1Controls() { return kControls; }

}  // namespace varek::form
