// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The captions of the window's controls that messages and texts quote
// ("erst „Weiter“ drücken"): stated here, beside the messages, and taken from
// here by the window's description (form/form1_controls.cpp) for its
// controls, by the explanation page and by the list of keys.
#pragma once

#include <string>
#include <string_view>

namespace varek {

namespace caption {
inline constexpr std::string_view Deflection = "Ablenkspannung";  // the label of its pair
inline constexpr std::string_view DeflectionOn = "Ein";
inline constexpr std::string_view Continue = "Weiter";  // on the information page
inline constexpr std::string_view InformationPage = "Info";
inline constexpr std::string_view DataPage = "Daten";
inline constexpr std::string_view ViewFromSide = "von der Seite";
inline constexpr std::string_view ViewFromFront = "von vorne";
inline constexpr std::string_view CloseDataPage = "Schließen";
inline constexpr std::string_view Record = "Messwert übernehmen";
}  // namespace caption

// The text in German quotation marks: „Weiter“.
inline std::string Quoted(std::string_view text) { return "\u201E" + std::string(text) + "\u201C"; }

// What switches the deflection on: "„Ablenkspannung“ „Ein“ wählen."
inline std::string SwitchDeflectionOn() {
  return Quoted(caption::Deflection) + " " + Quoted(caption::DeflectionOn) + " w\u00E4hlen.";
}

}  // namespace varek
