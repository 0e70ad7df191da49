// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol session driven as a front end drives it, over a store that
// another copy writes to as well: record, delete, clear and import with
// each answer, and the messages they leave.
#include "measurement/protocol_session.h"

#include <gtest/gtest.h>

#include "measurement/protocol_store.h"

namespace varek {
namespace {

Reading Focused(int voltage, int current) {
  return {.voltage = voltage,
          .current = current,
          .amplitude = 200,
          .deflection_on = true,
          .steady = false};
}

class ProtocolSessionTest : public ::testing::Test {
 protected:
  // Applies `change` to the store as the front end would: the message, or
  // "" when there was nothing to apply.
  std::string Apply(int change) {
    if (change == 0) return "";
    const StoreStep step = StepStore(store, session.ChangeOf(change));
    store = step.text;
    return session.Stored(change, step.rows);
  }
  // Answers the action's question with `answer`, then applies what follows.
  std::string Answered(const ProtocolSession::Action& action, Answer answer) {
    return Apply(session.Decide(action.change, answer));
  }
  void OtherCopyRecords(int current) {
    store =
        StepStore(store, AddRows({{other.Next(), *CheckReading(Focused(900, current)).row}})).text;
  }

  ProtocolSession session{1};
  RowIdSource other{2};
  std::string store;
};

TEST_F(ProtocolSessionTest, RecordDeleteAndClearTellWhatTheyDid) {
  const ProtocolSession::Action refused = session.Record(Focused(1200, 0));
  EXPECT_EQ(refused.change, 0);
  EXPECT_FALSE(refused.refusal.empty());

  EXPECT_EQ(Apply(session.Record(Focused(1200, 1230)).change),
            "Messwert Nr. 1 übernommen: U = 1200 V, I = 1,230 A, k = 1, Amplitude 200 "
            "(Wechselspannung).");
  // The number is the row's place in the store, where another copy's rows
  // recorded meanwhile come first.
  OtherCopyRecords(1080);
  const std::string third = Apply(session.Record(Focused(1400, 1330)).change);
  EXPECT_TRUE(third.starts_with("Messwert Nr. 3 übernommen")) << third;
  ASSERT_EQ(session.Rows().size(), 3u);
  EXPECT_EQ(session.View().rows.size(), 3u);

  EXPECT_EQ(Apply(session.Delete(session.Rows()[1].id).change), "Messwert Nr. 2 gelöscht.");
  EXPECT_EQ(session.Delete("nichtda").change, 0);

  // Clearing asks; "Nein" leaves the table, "Ja" clears only the rows the
  // question named.
  ProtocolSession::Action clear = session.Clear();
  EXPECT_EQ(clear.question, "Alle 2 Messwerte löschen? Das lässt sich nicht rückgängig machen.");
  ASSERT_EQ(clear.answers.size(), 2u);
  EXPECT_EQ(clear.answers.back().answer, Answer::No);
  EXPECT_EQ(Answered(clear, Answer::No), "");
  EXPECT_EQ(session.Rows().size(), 2u);
  clear = session.Clear();
  OtherCopyRecords(1100);
  EXPECT_EQ(Answered(clear, Answer::Yes), "2 Messwerte gelöscht.");
  EXPECT_EQ(session.Rows().size(), 1u);
  EXPECT_EQ(session.Rows()[0].values.current, 1.1);
}

TEST_F(ProtocolSessionTest, ImportAsksWithRowsShownAndDoesWhatTheAnswerSays) {
  const std::string file = "U in V;I in A;k;Amplitude\n800;1,004;1;\n1600;1,419;1;150\n";
  EXPECT_NE(session.Import("U in V\n1", "kaputt.csv").refusal.find("kaputt.csv"),
            std::string::npos);
  // Into an empty table without a question.
  const ProtocolSession::Action first = session.Import(file, "serie.csv");
  EXPECT_TRUE(first.question.empty());
  EXPECT_EQ(Apply(first.change), "2 Messwerte importiert aus „serie.csv“");

  const struct {
    Answer answer;
    std::size_t rows_after;
  } cases[] = {{Answer::Cancel, 2}, {Answer::Append, 4}, {Answer::Replace, 2}};
  for (const auto& c : cases) {
    const ProtocolSession::Action action = session.Import(file, "serie.csv");
    ASSERT_EQ(action.answers.size(), 3u);
    EXPECT_EQ(action.answers.back().answer, Answer::Cancel);
    EXPECT_NE(action.question.find("Die Tabelle (" + std::to_string(session.Rows().size())),
              std::string::npos);
    Answered(action, c.answer);
    EXPECT_EQ(session.Rows().size(), c.rows_after) << static_cast<int>(c.answer);
    // A decided question is not answered twice.
    EXPECT_EQ(session.Decide(action.change, Answer::Append), 0);
  }
}

}  // namespace
}  // namespace varek
