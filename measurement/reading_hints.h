// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The line under the scene: what the student would otherwise have to guess
// before recording, from the settings in force and whether the end marks of
// the latest computation reach the screen. The protocol refuses a reading
// without a mark with the same sentence.
#pragma once

#include <optional>
#include <string>

namespace varek {

struct HintFacts {
  int voltage = 0;  // V
  int amplitude = 0;
  bool deflection_on = false;
  bool screen_hit = true;  // the electrons of the latest computation reach the screen
};

// Why no mark lies on the screen; nothing while one does.
std::optional<std::string> NoMarkSentence(const HintFacts& facts);

// The one sentence the line shows, most pressing first; empty when the
// settings let the focus be read well.
std::string ReadingHint(const HintFacts& facts);

}  // namespace varek
