// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varek {
namespace {

using D = Deflection;

TEST(ProtocolCsvTest, ExchangeRoundTripKeepsEveryColumnByteForByte) {
  const ProtocolTable rows = {{"", {1200, 1.23, 1, 200, D::Alternating, 0.012, Inclusion::In}},
                              {"", {300, 0.613, 1, 25, D::Steady}},
                              {"", {800, 2.007, 2, std::nullopt, D::Unknown, 0.0035}},
                              {"", {50.5, 0.87, 1, 1, D::Unknown, std::nullopt, Inclusion::Out}}};
  const std::string text = WriteTable(rows, TableForm::Exchange);
  EXPECT_EQ(text,
            "U in V;I in A;k;Amplitude;Ablenkung;\u0394I in A;in Auswertung\n"
            "1200;1,230;1;200;Wechselspannung;0,012;ja\n300;0,613;1;25;Gleichspannung;;\n"
            "800;2,007;2;;;0,0035;\n50,5;0,870;1;1;;;nein\n");
  const TableRead back = ReadTable(text, TableForm::Exchange);
  ASSERT_TRUE(back.Clean()) << back.Summary();
  EXPECT_EQ(back.rows, rows);
  EXPECT_EQ(WriteTable(back.rows, TableForm::Exchange), text);
  // Columns are found by their titles: the earlier forms, some optional
  // columns in any order, a byte-order mark, CRLF and empty lines at the end.
  const struct {
    std::string text;
    Measurement row;
  } forms[] = {
      {"U in V;I in A;k\n1200;1,23;1\n", {1200, 1.23, 1, std::nullopt}},
      {"U in V;I in A;k;Amplitude\n1200;1,23;1;200\n", {1200, 1.23, 1, 200}},
      {"\xEF\xBB\xBF\u0394I in A;k;U in V;I in A\r\n0,01;1;1200;1,23\r\n\r\n\n",
       {1200, 1.23, 1, std::nullopt, D::Unknown, 0.01}},
  };
  for (const auto& form : forms) {
    const TableRead read = ReadTable(form.text, TableForm::Exchange);
    ASSERT_TRUE(read.Clean()) << form.text << read.Summary();
    EXPECT_EQ(read.rows, (ProtocolTable{{"", form.row}})) << form.text;
  }
}

TEST(ProtocolCsvTest, StoreRoundTripKeepsIdentityAndDeflection) {
  const ProtocolTable rows = {{"5f0c2a91d3e4b768", {1200, 1.23, 1, 200, D::Alternating, 0.005}},
                              {"a1", {300, 0.613, 1, 25, D::Steady}},
                              {"z7", {800, 2.007, 2, std::nullopt, D::Unknown}}};
  const std::string text = WriteTable(rows, TableForm::Store);
  EXPECT_EQ(text,
            "Kennung;U in V;I in A;k;Amplitude;Ablenkung;\u0394I in A;in Auswertung\n"
            "5f0c2a91d3e4b768;1200;1,230;1;200;Wechselspannung;0,005;\n"
            "a1;300;0,613;1;25;Gleichspannung;;\nz7;800;2,007;2;;;;\n");
  EXPECT_EQ(ReadTable(text, TableForm::Store).rows, rows);
  // The earlier store forms: rows named after their lines, alike in every
  // copy, or with their identities.
  const TableRead old =
      ReadTable("U in V;I in A;k;Amplitude\n1200;1,23;1;200\n300;0,613;1;\n", TableForm::Store);
  ASSERT_TRUE(old.Clean());
  EXPECT_EQ(old.rows,
            (ProtocolTable{{"z2", {1200, 1.23, 1, 200}}, {"z3", {300, 0.613, 1, std::nullopt}}}));
  EXPECT_EQ(
      ReadTable("Kennung;U in V;I in A;k;Amplitude;Ablenkung\na1;300;0,613;1;25;Gleichspannung\n",
                TableForm::Store)
          .rows,
      (ProtocolTable{rows[1]}));
  EXPECT_TRUE(ReadTable("", TableForm::Store).rows.empty());
  EXPECT_TRUE(ReadTable("", TableForm::Store).Clean());
}

TEST(ProtocolCsvTest, RefusalsNameTheLineAndTheReason) {
  const std::string head = "U in V;I in A;k\n";
  const struct {
    const char* name;
    std::string text;
    const char* message;
  } cases[] = {
      {"empty", "",
       "Zeile 1: die Datei ist leer, erwartet die Kopfzeile \u201EU in V;I in "
       "A;k;Amplitude;Ablenkung;\u0394I in A;in Auswertung\u201C"},
      {"header only", head, "Zeile 2: die Datei enthält keine Messwerte"},
      {"unknown column", "U;I;k\n1200;1,23;1\n",
       "Zeile 1: die Kopfzeile nennt die unbekannte Spalte \u201EU\u201C"},
      {"column twice", "U in V;I in A;k;k\n1200;1,23;1;1\n",
       "Zeile 1: die Kopfzeile nennt die Spalte \u201Ek\u201C zweimal"},
      {"identity outside the store", "Kennung;U in V;I in A;k\na1;1200;1,23;1\n",
       "Zeile 1: die Kopfzeile nennt die unbekannte Spalte \u201EKennung\u201C"},
      {"column missing", "U in V;k\n1200;1\n",
       "Zeile 1: die Kopfzeile muss die Spalten \u201EU in V\u201C, \u201EI in A\u201C und "
       "\u201Ek\u201C nennen, nicht \u201EU in V;k\u201C"},
      {"bad words", "U in V;I in A;k;Ablenkung;in Auswertung\n1200;1,23;1;;vielleicht\n",
       "Zeile 2: in Auswertung = \u201Evielleicht\u201C ist nicht erlaubt, erwartet ja, nein oder "
       "nichts"},
      {"uncertainty too large", "U in V;I in A;k;\u0394I in A\n1200;1,23;1;0,5\n",
       "Zeile 2: \u0394I = \u201E0,5\u201C ist nicht erlaubt, erwartet von 0,0001 bis 0,3 A oder "
       "nichts"},
      {"not a number", head + "1200;1,23;1\n1200;abc;1\n",
       "Zeile 3: I = \u201Eabc\u201C ist keine Zahl (erwartet z. B. 1,23)"},
      {"decimal point", head + "1200;1.23;1\n",
       "Zeile 2: I = \u201E1.23\u201C ist keine Zahl (erwartet z. B. 1,23)"},
      {"plus minus", head + "+-5;1;1\n",
       "Zeile 2: U = \u201E+-5\u201C ist keine Zahl (erwartet z. B. 1,23)"},
      {"nan payload", head + "1200;nan(0x1);1\n",
       "Zeile 2: I = \u201Enan(0x1)\u201C ist keine Zahl (erwartet z. B. 1,23)"},
      {"huge", head + "1e61;1;1\n",
       "Zeile 2: U = \u201E1e61\u201C ist nicht erlaubt, erwartet von 50 bis 2000 V"},
      {"tiny current", head + "1200;1e-200;1\n",
       "Zeile 2: I = \u201E1e-200\u201C ist nicht erlaubt, erwartet von 0,001 bis 3 A"},
      {"I zero", head + "1200;0;1\n",
       "Zeile 2: I = \u201E0\u201C ist nicht erlaubt, erwartet von 0,001 bis 3 A"},
      {"k fraction", head + "1200;1;1,5\n",
       "Zeile 2: k = \u201E1,5\u201C ist nicht erlaubt, erwartet eine ganze Zahl von 1 bis 4"},
      {"absurd e/m", head + "2000;0,001;4\n",
       "Zeile 2: e/m = 7,1 \u00b7 10\u00b9\u2078 C/kg liegt außerhalb von 10\u2079 bis "
       "10\u00b9\u00b3 C/kg"},
      {"missing field", head + "1200;1,23\n", "Zeile 2: 2 Felder statt 3, es fehlt k"},
      {"extra field", head + "1200;1,23;1;7\n", "Zeile 2: 4 Felder statt 3 (Feld zu viel)"},
      {"empty line inside", head + "1200;1,23;1\n\n300;0,6;1\n",
       "Zeile 3: leere Zeile zwischen den Messwerten"},
      {"escaped excerpt", head + "1200;1\x1b[2J" + std::string(50, 'x') + "\r;1\n",
       "Zeile 2: I = \u201E1\\e[2Jxxxxxxxxxxxxxxxxxxx\u2026\u201C ist keine Zahl (erwartet z. B. "
       "1,23)"},
      {"a million fields", head + std::string(999000, ';') + "\n",
       "Zeile 2: 999001 Felder statt 3 (Feld zu viel)"},
      {"too large", head + std::string(MaxTableBytes, '1'), "die Tabelle ist größer als 1 MB"},
      {"UTF-16 with its mark", std::string("\xFF\xFEU\0 \0i\0n\0", 10),
       "UTF-16 wird nicht gelesen: als UTF-8 speichern"},
      {"UTF-16 without a mark", std::string("\0U\0 \0i\0n", 8),
       "UTF-16 wird nicht gelesen: als UTF-8 speichern"},
      {"two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBF" + head + "1200;1,23;1\n",
       "die Datei beginnt mit zwei Byte-Order-Marks (BOM): als UTF-8 mit höchstens einem "
       "speichern"},
      {"more rows than the protocol holds",
       [&] {
         std::string text = head;
         for (std::size_t i = 0; i <= MaxTableRows; ++i) text += "50;1;1\n";
         return text;
       }(),
       "50001 Zeilen sind mehr als die 50000, die das Protokoll fasst"},
      {"several bad lines", head + "1200;x;1\n1200;1,23;1\n0;1;1\n1200;1;9\n",
       "Zeile 2: I = \u201Ex\u201C ist keine Zahl (erwartet z. B. 1,23) (und 2 weitere fehlerhafte "
       "Zeilen)"},
  };
  for (const auto& c : cases) {
    const TableRead read = ReadTable(c.text, TableForm::Exchange);
    EXPECT_EQ(read.Summary(), c.message) << c.name;
  }
}

// What the program writes it reads back, up to the row limit and beyond the
// byte limit of foreign files; a store kept aside is imported in its own form,
// the earlier one too.
TEST(ProtocolCsvTest, LargestStoreReadsBackWholeAndImports) {
  ProtocolTable rows;
  RowIdSource ids(3);
  for (std::size_t i = 0; i < MaxTableRows; ++i)
    rows.push_back({ids.Next(), {1999.5, 2.999, 4, 300, D::Alternating, 0.299, Inclusion::Out}});
  const std::string store = WriteTable(rows, TableForm::Store);
  ASSERT_GT(store.size(), MaxTableBytes);
  EXPECT_EQ(ReadTable(store, TableForm::Store).rows, rows);
  const TableRead imported = ReadTable(store, TableForm::Exchange);
  ASSERT_TRUE(imported.Clean()) << imported.Summary();
  EXPECT_EQ(imported.rows.size(), MaxTableRows);
  const TableRead earlier =
      ReadTable("Kennung;U in V;I in A;k;Amplitude;Ablenkung\na1;300;0,613;1;25;Gleichspannung\n",
                TableForm::Exchange);
  ASSERT_TRUE(earlier.Clean()) << earlier.Summary();
  EXPECT_EQ(earlier.rows, (ProtocolTable{{"", {300, 0.613, 1, 25, D::Steady}}}));
}

// A store with one bad row among good ones: the good rows stay, the bad one
// is named.
TEST(ProtocolCsvTest, BadStoreRowIsSkippedAndTheOthersStay) {
  const std::string store =
      "Kennung;U in V;I in A;k;Amplitude;Ablenkung\n"
      "a1;1200;1,23;1;200;Wechselspannung\n"
      "a2;1200;inf;1;200;Wechselspannung\n"
      "a3;300;0,613;1;25;Gleichspannung\n"
      "a1;800;1,004;1;150;Wechselspannung\n"
      "a4;800;1,004;1;150;Wechselspannung";
  const TableRead read = ReadTable(store, TableForm::Store);
  ASSERT_EQ(read.rows.size(), 3u);
  EXPECT_EQ(read.rows[0].id, "a1");
  EXPECT_EQ(read.rows[1].id, "a3");
  EXPECT_EQ(read.rows[2].id, "a4");
  EXPECT_EQ(read.bad_lines, 2);
  EXPECT_EQ(read.Summary(),
            "Zeile 3: I = \u201Einf\u201C ist keine Zahl (erwartet z. B. 1,23) (und 1 weitere "
            "fehlerhafte Zeile)");
  EXPECT_EQ(read.problems[1].Message(),
            "Zeile 5: Kennung \u201Ea1\u201C kommt schon in einer früheren Zeile vor");
}

}  // namespace
}  // namespace varek
