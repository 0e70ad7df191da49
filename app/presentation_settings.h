// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the user chose in presentation mode, kept between runs in the user's
// settings file (QSettings, INI format).
#pragma once

class QSettings;

namespace varek {

// The zoom that fills the window: the form as large as the window allows,
// larger as well as smaller than built. Any other zoom is one of the steps.
inline constexpr double kFillWindow = 0.0;

struct PresentationSettings {
  double zoom = kFillWindow;
  bool full_screen = false;
};

// Reads the settings; a value that is missing, unreadable or out of range
// gives its default, and a damaged file gives all defaults.
PresentationSettings LoadPresentationSettings(QSettings& store);
// Writes them and flushes the file; a file that cannot be written is left as
// it is (the settings then hold for this run only).
void SavePresentationSettings(QSettings& store, const PresentationSettings& settings);

}  // namespace varek
