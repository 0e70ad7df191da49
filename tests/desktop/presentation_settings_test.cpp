// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/presentation_settings.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <fstream>
#include <string>

namespace varek {
namespace {

class PresentationSettingsTest : public ::testing::Test {
 protected:
  QString Write(const std::string& contents) {
    QString path = dir_.filePath("varek-em.ini");
    std::ofstream(path.toStdString(), std::ios::binary) << contents;
    return path;
  }
  QTemporaryDir dir_;
};

// Every damaged or odd file gives usable settings, its good values kept.
TEST_F(PresentationSettingsTest, DamagedValuesFallBackToDefaults) {
  struct Row {
    const char* name;
    std::string contents;
    double zoom;
    bool full_screen;
  };
  const Row rows[] = {
      {"good", "[presentation]\nzoom=2\nfull_screen=true\n", 2.0, true},
      {"filling", "[presentation]\nzoom=0\n", kFillWindow, false},
      {"missing", "", kFillWindow, false},
      {"not a number", "[presentation]\nzoom=gross\nfull_screen=true\n", kFillWindow, true},
      {"no zoom step", "[presentation]\nzoom=1000\n", kFillWindow, false},
      {"negative", "[presentation]\nzoom=-2\n", kFillWindow, false},
      {"not a flag", "[presentation]\nzoom=1.5\nfull_screen=vielleicht\n", 1.5, false},
      {"binary", std::string("\x00\xff\xfe[presentation\x01\nzoom=\x00\x02", 16), kFillWindow,
       false},
      {"a section only", "[presentation", kFillWindow, false},
  };
  for (const Row& row : rows) {
    QSettings store(Write(row.contents), QSettings::IniFormat);
    const PresentationSettings settings = LoadPresentationSettings(store);
    EXPECT_EQ(settings.zoom, row.zoom) << row.name;
    EXPECT_EQ(settings.full_screen, row.full_screen) << row.name;
  }
}

TEST_F(PresentationSettingsTest, SavedSettingsReadBack) {
  const QString path = Write("garbage\x01\n");
  {
    QSettings store(path, QSettings::IniFormat);
    SavePresentationSettings(store, {2.5, true});
  }
  QSettings store(path, QSettings::IniFormat);
  const PresentationSettings settings = LoadPresentationSettings(store);
  EXPECT_EQ(settings.zoom, 2.5);
  EXPECT_TRUE(settings.full_screen);
}

}  // namespace
}  // namespace varek
