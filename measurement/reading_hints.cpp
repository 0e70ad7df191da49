// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/reading_hints.h"

#include "measurement/amplitude_advice.h"
#include "measurement/captions.h"

namespace varek {

std::optional<std::string> NoMarkSentence(const HintFacts& facts) {
  if (facts.screen_hit) return std::nullopt;
  // Above amplitude / U = 0.26 the electrons end on a plate (amplitude_advice.h).
  if (facts.deflection_on &&
      AdviceFor(facts.voltage, facts.amplitude) == AmplitudeAdvice::NearPlates)
    return "Die Elektronen treffen die Ablenkplatten: Amplitude verringern.";
  return "Kein Leuchtfleck auf dem Schirm: die Elektronen treffen die Röhrenwand; den "
         "Spulenstrom erhöhen.";
}

std::string ReadingHint(const HintFacts& facts) {
  if (const std::optional<std::string> missed = NoMarkSentence(facts)) return *missed;
  if (!facts.deflection_on)
    return "Ohne Ablenkspannung zeigt sich kein Fokus: bei " + SwitchDeflectionOn();
  if (facts.amplitude == 0)
    return "Bei der Amplitude 0 fliegt der Strahl gerade und zeigt keinen Fokus: die Amplitude "
           "erhöhen.";
  switch (AdviceFor(facts.voltage, facts.amplitude)) {
    case AmplitudeAdvice::TooSmall:
      return "Amplitude zu klein für diese Spannung: die Marken sind kaum zu trennen.";
    case AmplitudeAdvice::NearPlates:
      return "Die Elektronen streifen die Ablenkplatten: Amplitude etwas verringern, sonst "
             "springt der Fokus.";
    case AmplitudeAdvice::Fine: break;
  }
  return {};
}

}  // namespace varek
