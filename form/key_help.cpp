// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/key_help.h"

#include <string>

#include "measurement/captions.h"

namespace varek::form {

namespace {
constexpr RadioGroupName kGroups[] = {
    {"Panel1", caption::Deflection},
    {"Panel11", "Art der Ablenkspannung"},
    {"Panel7", "Dicke der Teilchenbahn"},
};
}  // namespace

std::span<const KeyHelp> KeyHelpRows() {
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
      {"Pfeiltasten (an einem Schieberegler)", "einen kleinen Schritt: 1 mA, 1 V, 1 Grad"},
      {"Bild auf, Bild ab", "einen großen Schritt: 10 mA, 10 V, 5 Grad"},
      {"Strg+Bild auf, Strg+Bild ab", "einen groben Schritt: 100 mA, 100 V"},
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
