// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "measurement/protocol_csv.h"

namespace varek {
namespace {

TEST(ProtocolCsvTest, RoundTripInBothForms) {
  const std::vector<Measurement> rows = {
      {1200, 1.23, 1, 200}, {300, 0.613, 1, 25}, {800, 2.007, 2, std::nullopt}, {50.5, 3, 4, 0}};
  const std::string standard = WriteProtocolCsv(rows);
  EXPECT_EQ(standard, "U in V;I in A;k\n1200;1,23;1\n300;0,613;1\n800;2,007;2\n50,5;3;4\n");
  const CsvParse back = ParseProtocolCsv(standard);
  ASSERT_FALSE(back.problem) << back.problem->Message();
  ASSERT_EQ(back.rows.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Measurement without = rows[i];
    without.amplitude.reset();
    EXPECT_EQ(back.rows[i], without);
  }
  const CsvParse full =
      ParseProtocolCsv(WriteProtocolCsv(rows, CsvColumns::WithAmplitude), CsvColumns::WithAmplitude);
  ASSERT_FALSE(full.problem) << full.problem->Message();
  EXPECT_EQ(full.rows, rows);
}

TEST(ProtocolCsvTest, AcceptsByteOrderMarkCrlfAndTrailingEmptyLines) {
  const CsvParse parse = ParseProtocolCsv("\xEF\xBB\xBFU in V;I in A;k\r\n1200;1,23;1\r\n\r\n\n");
  ASSERT_FALSE(parse.problem) << parse.problem->Message();
  ASSERT_EQ(parse.rows.size(), 1u);
  EXPECT_EQ(parse.rows[0], (Measurement{1200, 1.23, 1, std::nullopt}));
}

TEST(ProtocolCsvTest, DamagedFilesNameTheLineAndTheReason) {
  const std::string head = "U in V;I in A;k\n";
  const struct {
    const char* name;
    std::string text;
    const char* message;
  } cases[] = {
      {"empty", "", "Zeile 1: die Datei ist leer, erwartet die Kopfzeile \u201EU in V;I in A;k\u201C"},
      {"header only", head, "Zeile 2: die Datei enthält keine Messwerte"},
      {"wrong header", "U;I;k\n1200;1,23;1\n",
       "Zeile 1: die Kopfzeile muss \u201EU in V;I in A;k\u201C lauten"},
      {"not a number", head + "1200;1,23;1\n1200;abc;1\n",
       "Zeile 3: I = \u201Eabc\u201C ist keine Zahl (erwartet z. B. 1,23)"},
      {"decimal point", head + "1200;1.23;1\n",
       "Zeile 2: I = \u201E1.23\u201C ist keine Zahl (erwartet z. B. 1,23)"},
      {"infinite", head + "1e999;1;1\n", "Zeile 2: U = \u201E1e999\u201C ist keine endliche Zahl"},
      {"nan", head + "1200;nan;1\n", "Zeile 2: I = \u201Enan\u201C ist keine endliche Zahl"},
      {"U too low", head + "49,9;1;1\n",
       "Zeile 2: U = \u201E49,9\u201C ist nicht erlaubt, erwartet von 50 bis 2000 V"},
      {"U too high", head + "2001;1;1\n",
       "Zeile 2: U = \u201E2001\u201C ist nicht erlaubt, erwartet von 50 bis 2000 V"},
      {"I zero", head + "1200;0;1\n",
       "Zeile 2: I = \u201E0\u201C ist nicht erlaubt, erwartet größer als 0 und höchstens 3 A"},
      {"I too high", head + "1200;3,001;1\n",
       "Zeile 2: I = \u201E3,001\u201C ist nicht erlaubt, erwartet größer als 0 und höchstens 3 A"},
      {"k fraction", head + "1200;1;1,5\n",
       "Zeile 2: k = \u201E1,5\u201C ist nicht erlaubt, erwartet eine ganze Zahl von 1 bis 4"},
      {"k five", head + "1200;1;5\n",
       "Zeile 2: k = \u201E5\u201C ist nicht erlaubt, erwartet eine ganze Zahl von 1 bis 4"},
      {"missing field", head + "1200;1,23\n", "Zeile 2: 2 Feld(er) statt 3, es fehlt k"},
      {"extra field", head + "1200;1,23;1;7\n", "Zeile 2: 4 Felder statt 3 (Feld zu viel)"},
      {"empty line inside", head + "1200;1,23;1\n\n300;0,6;1\n",
       "Zeile 3: leere Zeile zwischen den Messwerten"},
  };
  for (const auto& c : cases) {
    const CsvParse parse = ParseProtocolCsv(c.text);
    ASSERT_TRUE(parse.problem) << c.name;
    EXPECT_EQ(parse.problem->Message(), c.message) << c.name;
    EXPECT_TRUE(parse.rows.empty()) << c.name;
  }
}

TEST(ProtocolCsvTest, StoredTableChecksTheAmplitude) {
  const CsvParse parse =
      ParseProtocolCsv("U in V;I in A;k;Amplitude\n1200;1;1;301\n", CsvColumns::WithAmplitude);
  ASSERT_TRUE(parse.problem);
  EXPECT_EQ(parse.problem->Message(),
            "Zeile 2: Amplitude = \u201E301\u201C ist nicht erlaubt, erwartet eine ganze Zahl von 0 "
            "bis 300");
}

}  // namespace
}  // namespace varek
