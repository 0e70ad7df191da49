// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

#include "app/readouts.h"

namespace varek {
namespace {

struct LocaleGuard {
  explicit LocaleGuard(QLocale::Language language) { QLocale::setDefault(QLocale(language)); }
  ~LocaleGuard() { QLocale::setDefault(QLocale::c()); }
};

TEST(Readouts, IntegersArePlainDecimalText) {
  const LocaleGuard german(QLocale::German);  // no digit grouping in any locale
  EXPECT_EQ(IntegerText(0), "0");
  EXPECT_EQ(IntegerText(1200), "1200");
  EXPECT_EQ(IntegerText(2000), "2000");
  EXPECT_EQ(IntegerText(-180), "-180");
  EXPECT_EQ(IntegerText(25), "25");
}

TEST(Readouts, CoilCurrentInGeneralFormat) {
  const LocaleGuard english(QLocale::English);
  const struct {
    int milliamperes;
    const char* text;
  } cases[] = {
      {0, "0"},      {1, "0.001"},    {10, "0.01"}, {999, "0.999"},
      {1500, "1.5"}, {2001, "2.001"}, {3000, "3"},  {1234, "1.234"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CoilCurrentText(c.milliamperes), QString::fromLatin1(c.text)) << c.milliamperes;
  }
}

TEST(Readouts, EveryCoilCurrentReadsBackExactlyWithoutExponent) {
  const LocaleGuard english(QLocale::English);
  for (int milliamperes = 0; milliamperes <= 3000; ++milliamperes) {
    const QString text = CoilCurrentText(milliamperes);
    ASSERT_FALSE(text.contains('e')) << text.toStdString();
    ASSERT_FALSE(text.endsWith('0') && text.contains('.')) << text.toStdString();
    ASSERT_EQ(qRound(text.toDouble() * 1000), milliamperes) << text.toStdString();
  }
}

TEST(Readouts, CoilCurrentUsesTheLocaleDecimalSeparator) {
  const LocaleGuard german(QLocale::German);
  EXPECT_EQ(CoilCurrentText(1), "0,001");
  EXPECT_EQ(CoilCurrentText(1500), "1,5");
  EXPECT_EQ(CoilCurrentText(3000), "3");
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
