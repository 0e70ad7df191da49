// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/page_texts.h"

#include <optional>
#include <string>
#include <string_view>

#include "measurement/captions.h"
#include "measurement/constants.h"
#include "measurement/decimal_text.h"

namespace varek::form {

namespace {

using K = TextBlock::Kind;

constexpr TextBlock kHead[] = {
    {K::Title, "Bestimmung der spezifischen Ladung e/m des Elektrons"},
    {K::Subtitle, "Methode der magnetischen Fokussierung"},
};

// The number of turns as the texts write it: "2000".
std::string Turns() { return std::to_string(CoilTurns); }

std::string ApparatusParagraph() {
  return "In einer evakuierten Röhre beschleunigt eine Elektronenkanone die Elektronen "
         "mit der Spannung <i>U</i>. Der Strahl läuft zwischen zwei Ablenkplatten hindurch "
         "und trifft nach der Strecke <i>s</i> (Mitte der Ablenkplatten bis Schirm) auf den "
         "Leuchtschirm. Die Röhre liegt in einer langen Spule mit <i>n</i>&nbsp;=&nbsp;" +
         Turns() +
         " Windungen und der Länge <i>L</i>; der Spulenstrom <i>I</i> erzeugt in ihr ein "
         "Magnetfeld <i>B</i> parallel zur Röhrenachse.";
}

std::string UseParagraph() {
  return "Spulenstrom, Beschleunigungsspannung und Ablenkspannung stellen Sie mit den "
         "Schiebereglern ein. Die Schieberegler am Bild und die Knöpfe " +
         Quoted(caption::ViewFromSide) + " und " + Quoted(caption::ViewFromFront) +
         " drehen die Ansicht der Anordnung. " + Quoted(caption::Continue) +
         " öffnet den Versuch; " + Quoted(caption::InformationPage) +
         " zeigt diese Seite wieder, " + Quoted(caption::DataPage) + " die Daten der Anordnung.";
}

constexpr TextBlock kRight[] = {
    {K::Heading, "Auswertung"},
    {K::Paragraph, "Energie des beschleunigten Elektrons:"},
    {K::Formula, "\\frac{1}{2}·m·v² = e·U   ⇒   v = \\sqrt{2·\\frac{e}{m}·U}"},
    {K::Paragraph, "Feld der langen Spule (μ<sub>0</sub> = 4π·10<sup>−7</sup> V·s/(A·m)):"},
    {K::Formula, "B = \\frac{μ_0·n·I}{L}"},
    {K::Paragraph,
     "Die Ablenkplatten geben dem Elektron eine Geschwindigkeit <i>v</i><sub>⊥</sub> "
     "quer zur Achse. Senkrecht zur Achse beschreibt es im Feld <i>B</i> einen Kreis "
     "mit dem Radius&nbsp;<i>r</i>; die Lorentzkraft ist die Zentripetalkraft:"},
    {K::Formula, "e·v_⊥·B = \\frac{m·v_⊥^2}{r}   ⇒   T = \\frac{2π·r}{v_⊥} = \\frac{2π·m}{e·B}"},
    {K::Paragraph,
     "Die Umlaufzeit <i>T</i> hängt nicht von <i>v</i><sub>⊥</sub> ab. Längs der Achse "
     "fliegt das Elektron gleichförmig mit <i>v</i>: seine Bahn ist eine Schraubenlinie, "
     "die nach jeder Umlaufzeit <i>T</i> wieder die Achse erreicht."},
    {K::Paragraph,
     "Fokussierung: Beide Leuchtflecke fallen in der Schirmmitte zusammen, wenn die "
     "Flugzeit <i>t</i>&nbsp;=&nbsp;<i>s</i>/<i>v</i> von den Ablenkplatten bis zum Schirm gleich "
     "<i>T</i> ist:"},
    {K::Formula, "\\frac{s}{v} = \\frac{2π·m}{e·B}   ⇒   \\frac{e}{m} = \\frac{2π·v}{B·s}"},
    {K::Paragraph,
     "Quadrieren und Einsetzen von <i>v</i>²&nbsp;=&nbsp;2·(<i>e</i>/<i>m</i>)·<i>U</i> ergibt:"},
    {K::FramedFormula, "\\frac{e}{m} = \\frac{8π²·U}{B²·s²}"},
};

}  // namespace

const InformationText& Information() {
  static const std::string apparatus = ApparatusParagraph();
  static const std::string use = UseParagraph();
  static const TextBlock left[] = {
      {K::Heading, "Versuchsanordnung"},
      {K::Paragraph, apparatus},
      {K::Heading, "Aufgabe"},
      {K::Paragraph,
       "Legen Sie an die Ablenkplatten eine Wechselspannung <i>U</i><sub>A</sub> "
       "(Rechteckspannung, siehe Skizze) an. Die Elektronen werden abwechselnd nach der "
       "einen und nach der anderen Seite abgelenkt: auf dem Schirm entstehen zwei "
       "Leuchtflecke. Erhöhen Sie den Spulenstrom, bis beide Leuchtflecke in der "
       "Schirmmitte zusammenfallen, und berechnen Sie dann aus <i>U</i>, <i>I</i> und den "
       "Daten der Anordnung die spezifische Ladung <i>e</i>/<i>m</i> des Elektrons."},
      {K::Sketch,
       "Skizze: die Ablenkspannung <i>U</i><sub>A</sub> über der Zeit <i>t</i>, eine "
       "Rechteckspannung, die drei Perioden lang zwischen einem positiven und einem "
       "gleich großen negativen Wert springt."},
      {K::Heading, "Bedienung"},
      {K::Paragraph, use},
  };
  static const InformationText information{kHead, left, kRight};
  return information;
}

const DataText& Data() {
  static const std::string turns = "\\text{Windungszahl  }n = " + Turns();
  static const std::string length =
      "\\text{Länge  }L = " + DecimalText(LengthOfCoil) + "\\text{ m}";
  static const std::string distance = "s = " + DecimalText(PlatesToScreen) + "\\text{ m}";
  // The literature value as the protocol writes it, its power of ten's
  // exponent set as a text of its own: "… · 10}\text{¹¹ C/kg".
  static const std::string literature = [] {
    const std::string value = SchoolNotation(LiteratureSpecificCharge, std::nullopt, "C/kg", 6);
    const std::string_view ten = " \u00b7 10";
    const std::size_t exponent = value.find(ten) + ten.size();
    return "e/m\\text{ = " + value.substr(0, exponent) + "}\\text{" + value.substr(exponent) + "}";
  }();
  static const DataLine lines[] = {
      {"Spule:", turns},
      {"", length},
      {"Abstand Mitte der\nAblenkplatten – Schirm:", distance},
      {"Literaturwert:", literature},
  };
  static const DataText data{"Daten der Versuchsanordnung", lines};
  return data;
}

}  // namespace varek::form
