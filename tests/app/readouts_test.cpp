// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

#include <cmath>

#include "model/setting_table.h"

namespace varek {
namespace {

struct LocaleGuard {
  explicit LocaleGuard(QLocale::Language language) { QLocale::setDefault(QLocale(language)); }
  ~LocaleGuard() { QLocale::setDefault(QLocale::c()); }
};

// Every readout of the table, at every position: a decimal comma (never a
// point), no trailing zero after it, and the number reads back exactly.
TEST(Readouts, EveryPositionReadsBackWithADecimalComma) {
  for (const SettingRow& row : SettingTable()) {
    if (!row.readout) continue;
    for (int position = row.range.lowest; position <= row.range.highest; ++position) {
      const std::string text = ReadoutText(*row.readout, position);
      ASSERT_EQ(text.find_first_of(".e"), std::string::npos) << text;
      ASSERT_FALSE(text.find(',') != std::string::npos && text.back() == '0') << text;
      const double shown = QString::fromStdString(text).replace(',', '.').toDouble();
      const double scale = std::pow(10.0, row.readout->decimals);
      ASSERT_EQ(std::lround(shown * scale), row.readout->negated ? -position : position) << text;
    }
  }
}

// The context menus that Qt itself gives a scroll bar and a readout, in the
// English C locale the tests run in: German all the same.
TEST(QtTexts, ContextMenusReadGermanInAnyLocale) {
  const LocaleGuard english(QLocale::English);
  const struct {
    const char* context;
    const char* english;
    const char* german;
  } cases[] = {{"QScrollBar", "Scroll here", "Hierher scrollen"},
               {"QScrollBar", "Left edge", "Linker Rand"},
               {"QLineEdit", "Select All", "Alles auswählen"}};
  for (const auto& c : cases)
    EXPECT_EQ(QCoreApplication::translate(c.context, c.english), QString::fromUtf8(c.german));
}

}  // namespace
}  // namespace varek
