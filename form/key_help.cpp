// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/key_help.h"

#include <string>

#include "measurement/captions.h"
#include "model/setting_table.h"

namespace varek::form {

namespace {
constexpr RadioGroupName kGroups[] = {
    {"Panel1", caption::Deflection},
    {"Panel11", "Art der Ablenkspannung"},
    {"Panel7", "Dicke der Teilchenbahn"},
};

// A step of a setting's scroll bar as the list says it: "10 mA", "5 Grad"
// (the current's positions are mA of its readout in A with three decimals).
std::string Step(std::string_view setting, int positions) {
  const ReadoutFormat& format = *Setting(setting).readout;
  return std::to_string(positions) + (format.decimals == 3 ? " m" : " ") + std::string(format.unit);
}

// The steps of the current, the voltage and (where `turn`) the view's turn.
std::string Steps(int (*positions)(const SettingRow&), bool turn) {
  std::string text = Step("current", positions(Setting("current"))) + ", " +
                     Step("voltage", positions(Setting("voltage")));
  if (turn) text += ", " + Step("turn", positions(Setting("turn")));
  return text;
}

}  // namespace

std::span<const KeyHelp> KeyHelpRows() {
  // The steps of the scroll bars, from the table of the settings.
  static const std::string line_steps =
      "einen kleinen Schritt: " + Steps([](const SettingRow& row) { return row.line_step; }, true);
  static const std::string page_steps =
      "einen großen Schritt: " + Steps([](const SettingRow& row) { return row.page_step; }, true);
  static const std::string coarse_steps =
      "einen groben Schritt: " +
      Steps([](const SettingRow& row) { return CoarsePageSteps * row.page_step; }, false);
  // The captions these rows quote, as the controls carry them.
  static const std::string record = Quoted(caption::Record) + ", überall im Fenster";
  static const std::string close = "diese Übersicht, die Informationsseite oder die Seite " +
                                   Quoted(caption::DataPage) + " schließen";
  static const KeyHelp rows[] = {
      {"Tab, Umschalt+Tab",
       "zum nächsten oder vorigen Bedienelement; nach dem letzten geht es beim ersten weiter"},
      {"Pfeiltasten (in einer Auswahl)",
       "die andere Möglichkeit wählen: Ablenkspannung Ein/Aus, Gleich- oder Wechselspannung, "
       "Dicke der Teilchenbahn"},
      {"Eingabe, Leertaste", "den Knopf mit dem Fokus drücken; Leertaste: Kästchen umschalten"},
      {"Pfeiltasten (an einem Schieberegler)", line_steps},
      {"Bild auf, Bild ab", page_steps},
      {"Strg+Bild auf, Strg+Bild ab", coarse_steps},
      {"Pos1, Ende", "den Schieberegler an ein Ende stellen"},
      {"Zahl tippen, dann Eingabe",
       "im Feld neben dem Schieberegler (Spulenstrom, Spannung, Drehung): den Wert einstellen, "
       "mit Komma oder Punkt, etwa 1,23"},
      {"Escape (im Feld)", "den eingestellten Wert wieder zeigen"},
      {"Strg+Eingabe", record},
      {"Strg+Z",
       "die letzte Löschung im Messprotokoll zurückholen; in einem Eingabefeld: die Eingabe"},
      {"Strg+M", "Messprotokoll zeigen oder verbergen"},
      {"Strg+P", "das Messprotokoll drucken oder als PDF speichern", Edition::Page},
      {"F1", "diese Übersicht zeigen"},
      {"Escape", close},
      {"F11", "Vollbild ein oder aus", Edition::Desktop},
      {"Strg+Plus, Strg+Minus, Strg+0",
       "größer, kleiner, wieder in der Größe, die auf den Schirm passt", Edition::Desktop},
      {"Strg+Plus, Strg+Minus, Strg+0",
       "die Seite größer, kleiner, wieder in normaler Größe (Browser)", Edition::Page},
  };
  return rows;
}

std::span<const RadioGroupName> RadioGroupNames() { return kGroups; }

}  // namespace varek::form
