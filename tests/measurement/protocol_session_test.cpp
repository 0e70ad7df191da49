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
  const ProtocolSession::Action refused = session.Record(Focused(1200, 0), 0);
  EXPECT_EQ(refused.change, 0);
  EXPECT_FALSE(refused.refusal.empty());

  EXPECT_EQ(Apply(session.Record(Focused(1200, 1230), 0).change),
            "Messwert Nr. 1 übernommen: U = 1200 V, I = 1,230 A, k = 1, Amplitude 200 "
            "(Wechselspannung).");
  // The number is the row's place in the store, where another copy's rows
  // recorded meanwhile come first.
  OtherCopyRecords(1080);
  const std::string third = Apply(session.Record(Focused(1400, 1330), 0).change);
  EXPECT_TRUE(third.starts_with("Messwert Nr. 3 übernommen")) << third;
  ASSERT_EQ(session.Rows().size(), 3u);
  EXPECT_EQ(session.View().rows.size(), 3u);

  EXPECT_EQ(Apply(session.Delete(session.Rows()[1].id).change), "Messwert Nr. 2 gelöscht.");
  EXPECT_EQ(session.Delete("nichtda").change, 0);

  // Clearing asks; "Nein" leaves the table, "Ja" clears only the rows the
  // question named.
  ProtocolSession::Action clear = session.Clear();
  EXPECT_EQ(clear.question, "Alle 2 Messwerte löschen? „Rückgängig“ (Strg+Z) holt sie zurück.");
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

// "Rückgängig" puts back what the last deletion or clearing took, at its
// places, with its ΔI and "in Auswertung", also where another copy changed
// the store meanwhile.
TEST_F(ProtocolSessionTest, UndoPutsDeletedRowsBackAtTheirPlaces) {
  EXPECT_FALSE(session.CanUndo());
  for (int current : {1228, 1229, 1230, 1231}) {
    Reading reading = Focused(1200, current);
    reading.uncertainty = 5;
    Apply(session.Record(reading, current * 2000.0).change);
  }
  Apply(session.Include(session.Rows()[2].id, false).change);
  const ProtocolTable all = session.Rows();

  EXPECT_EQ(Apply(session.Delete(all[2].id).change), "Messwert Nr. 3 gelöscht.");
  ASSERT_TRUE(session.CanUndo());
  EXPECT_EQ(Apply(session.Undo().change), "Messwert Nr. 3 wiederhergestellt.");
  EXPECT_EQ(session.Rows(), all);
  EXPECT_FALSE(session.CanUndo());
  EXPECT_EQ(session.Undo().change, 0);

  Answered(session.Clear(), Answer::Yes);
  ASSERT_TRUE(session.Rows().empty());
  EXPECT_EQ(Apply(session.Undo().change), "4 Messwerte wiederhergestellt (Nr. 1, 2, 3 und 4).");
  EXPECT_EQ(session.Rows(), all);

  // Another copy records and deletes the row above the one deleted here:
  // it comes back at its former place, the other copy's row stays last.
  Apply(session.Delete(all[1].id).change);
  OtherCopyRecords(1080);
  store = StepStore(store, DeleteRow(all[0].id)).text;
  EXPECT_EQ(Apply(session.Undo().change), "Messwert Nr. 2 wiederhergestellt.");
  ASSERT_EQ(session.Rows().size(), 4u);
  EXPECT_EQ(session.Rows()[0], all[2]);
  EXPECT_EQ(session.Rows()[1], all[1]);
  EXPECT_EQ(session.Rows()[3].values.current, 1.08);
}

// The same reading again within a second of the last asks first, "Nein"
// being the careful answer; later, or another reading, does not ask.
TEST_F(ProtocolSessionTest, ASecondIdenticalReadingWithinASecondAsks) {
  Apply(session.Record(Focused(1200, 1230), 10000).change);
  const struct {
    int current;
    double time;
    bool asks;
    Answer answer;
    std::size_t rows_after;
  } steps[] = {
      {1230, 10400, true, Answer::No, 1},    // a key pressed twice
      {1230, 10999, true, Answer::Yes, 2},   // wanted after all
      {1230, 11500, false, Answer::Yes, 3},  // a second later
      {1231, 11600, false, Answer::Yes, 4},  // another current
      {1230, 11700, false, Answer::Yes, 5},  // not the last row's settings
  };
  for (const auto& step : steps) {
    const ProtocolSession::Action action = session.Record(Focused(1200, step.current), step.time);
    EXPECT_EQ(!action.question.empty(), step.asks) << step.time;
    if (action.question.empty()) {
      Apply(action.change);
    } else {
      EXPECT_EQ(action.question,
                "Diesen Messwert noch einmal übernehmen? Eben wurde derselbe übernommen: U = "
                "1200 V, I = 1,230 A, k = 1.");
      EXPECT_EQ(action.answers.back().answer, Answer::No);
      Answered(action, step.answer);
    }
    EXPECT_EQ(session.Rows().size(), step.rows_after) << step.time;
  }
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
