// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the user chose in presentation mode, kept between runs in the user's
// settings file (QSettings, INI format).
#pragma once

class QSettings;

namespace varek {

struct PresentationSettings {
  double zoom = 1.0;
  bool full_screen = false;
};

// Reads the settings; a value that is missing, unreadable or out of range
// gives its default, and a damaged file gives all defaults.
PresentationSettings LoadPresentationSettings(QSettings& store);
// Writes them and flushes the file; a file that cannot be written is left as
// it is (the settings then hold for this run only).
void SavePresentationSettings(QSettings& store, const PresentationSettings& settings);

}  // namespace varek
