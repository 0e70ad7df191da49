// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The shared store: changes of two writers merged by identity, real
// processes recording into one file at the same time, and damaged stores
// kept aside without ever overwriting an earlier copy.
#include "measurement/protocol_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "measurement/protocol_store_file.h"

namespace varek {
namespace {

namespace fs = std::filesystem;

ProtocolRow Row(const std::string& id, double current) {
  return {id, {1200, current, 1, 200, Deflection::Alternating}};
}

std::set<std::string> Ids(const ProtocolTable& rows) {
  std::set<std::string> ids;
  for (const ProtocolRow& row : rows) ids.insert(row.id);
  return ids;
}

// Two copies that each saw an older state: their changes, applied one after
// the other to what the store holds, keep what the other did.
TEST(ProtocolStoreTest, ChangesOfTwoWritersMerge) {
  std::string store = StepStore("", AddRows({Row("a1", 1.23), Row("a2", 1.24)})).text;
  const ProtocolTable seen_by_b = StepStore(store, {}).rows;  // B loads a1, a2

  store = StepStore(store, AddRows({Row("a3", 1.22)})).text;  // A records
  store = StepStore(store, DeleteRow("a1")).text;             // A deletes one
  // B, not knowing either: records, deletes a2, and clears what it saw.
  store = StepStore(store, AddRows({Row("b1", 1.25)})).text;
  EXPECT_EQ(Ids(StepStore(store, {}).rows), (std::set<std::string>{"a2", "a3", "b1"}));
  store = StepStore(store, ClearRows(seen_by_b)).text;
  EXPECT_EQ(Ids(StepStore(store, {}).rows), (std::set<std::string>{"a3", "b1"}));
  // A change applied twice does what it did once.
  const StoreStep again = StepStore(store, AddRows({Row("b1", 1.25)}));
  EXPECT_FALSE(again.write);
  // Of rows one change adds twice, the first stays.
  ProtocolTable twice;
  for (int i = 0; i < 40; ++i) twice.push_back(Row("r" + std::to_string(i % 20), 1 + i * 0.01));
  const ProtocolTable added = StepStore("", AddRows(twice)).rows;
  EXPECT_EQ(added, ProtocolTable(twice.begin(), twice.begin() + 20));
  // Import: "Ersetzen" clears what the user saw, "Anhängen" keeps it.
  RowIdSource ids(7);
  const ProtocolTable now = StepStore(store, {}).rows;
  const ProtocolTable file = {{{}, {800, 1.004, 1, std::nullopt}}};
  EXPECT_EQ(StepStore(store, ImportRows(now, file, ImportMode::Replace, ids)).rows.size(), 1u);
  EXPECT_EQ(StepStore(store, ImportRows(now, file, ImportMode::Append, ids)).rows.size(), 3u);
  // Changes kept while the store cannot be written, stored as one, a row
  // taken out of the result among them.
  ProtocolRow out = Row("b1", 1.25);
  out.values.inclusion = Inclusion::Out;
  const TableChange later =
      Then(Then(Then(AddRows({Row("c1", 1.2), Row("c2", 1.3)}), DeleteRow("c1")),
                ClearRows({Row("a3", 1.22)})),
           UpdateRow(out));
  EXPECT_EQ(StepStore(store, later).rows, (ProtocolTable{out, Row("c2", 1.3)}));
}

// A store kept in pieces writes only the lines between those a step keeps
// at the start and at the end: they and the new middle are the step's text.
TEST(ProtocolStoreTest, SharedLinesAndTheMiddleMakeTheNewText) {
  const auto lines = [](std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  };
  ProtocolTable rows;
  for (int i = 0; i < 12; ++i) rows.push_back(Row("r" + std::to_string(i), 1.2 + i / 1000.0));
  const std::string store = StepStore("", AddRows(rows)).text;
  ProtocolRow out = rows[6];
  out.values.inclusion = Inclusion::Out;
  const std::string ends_alike = StepStore("", AddRows({rows[0], rows[1]})).text;
  for (const auto& [before, change] : std::vector<std::pair<std::string, TableChange>>{
           {"", AddRows(rows)},
           {store, AddRows({Row("new", 1.3)})},
           {store, DeleteRow("r0")},
           {store, DeleteRow("r5")},
           {store, DeleteRow("r11")},
           {store, RestoreRows(PlacesOf(rows, {"r3", "r4"}))},
           {StepStore(store, DeleteRow("r4")).text, RestoreRows(PlacesOf(rows, {"r4"}))},
           {store, UpdateRow(out)},
           {store, ClearRows(rows)},
           {ends_alike, DeleteRow("r0")},
           {ends_alike + "r9;bad\n", {}}}) {
    const std::string after = StepStore(before, change).text;
    const SharedLines shared = SharedLinesOf(before, after);
    const std::string_view b = before, a = after;
    EXPECT_EQ(b.substr(0, shared.head_bytes), a.substr(0, shared.head_bytes));
    EXPECT_EQ(b.substr(b.size() - shared.tail_bytes), a.substr(a.size() - shared.tail_bytes));
    EXPECT_LE(shared.head_bytes + shared.tail_bytes, std::min(b.size(), a.size()));
    EXPECT_EQ(lines(b.substr(0, shared.head_bytes)), shared.head_lines);
    EXPECT_EQ(lines(b.substr(b.size() - shared.tail_bytes)), shared.tail_lines);
    // Whole lines: each part starts a line in both texts.
    for (const std::string_view text : {b, a}) {
      const std::size_t tail_start = text.size() - shared.tail_bytes;
      EXPECT_TRUE(shared.head_bytes == 0 || text[shared.head_bytes - 1] == '\n');
      EXPECT_TRUE(tail_start == shared.head_bytes || text[tail_start - 1] == '\n');
    }
    // Only the lines that changed lie between: a reading keeps all others.
    if (change.add.size() == 1) {
      EXPECT_EQ(shared.head_lines, lines(before));
    }
    if (change.remove.size() == 1 && before == store) {
      EXPECT_EQ(shared.head_lines + shared.tail_lines, lines(before) - 1);
    }
  }
}
// A change that would pass the row limit is not made, whatever it is.
TEST(ProtocolStoreTest, RowLimitRefusesTheChangeAndKeepsTheTable) {
  ProtocolTable full;
  for (std::size_t i = 0; i + 1 < MaxTableRows; ++i)
    full.push_back(Row("r" + std::to_string(i), 1));
  const std::string store = WriteTable(full, TableForm::Store);
  const StoreStep refused = StepStore(store, AddRows({Row("x1", 1), Row("x2", 1)}));
  EXPECT_EQ(refused.refusal,
            "Nicht übernommen: 50001 Zeilen sind mehr als die 50000, die das Protokoll fasst. Die "
            "Tabelle bleibt, wie sie war.");
  EXPECT_FALSE(refused.write);
  EXPECT_EQ(refused.rows, full);
  const StoreStep last = StepStore(store, AddRows({Row("x1", 1)}));
  EXPECT_TRUE(last.refusal.empty());
  EXPECT_EQ(last.rows.size(), MaxTableRows);
}

// A step from the copy of the last step gives the rows and the text that
// reading the store and writing it anew give, whatever the change.
TEST(ProtocolStoreTest, StepFromTheLastStepsCopyIsTheFullStep) {
  ProtocolRow out = Row("a2", 1.5);
  out.values.inclusion = Inclusion::Out;
  out.values.reading_uncertainty = 0.004;
  RowIdSource ids(3);
  const struct {
    const char* name;
    TableChange change;
  } changes[] = {
      {"record", AddRows({Row("n1", 1.3)})},
      {"record a row there already", AddRows({Row("a3", 1.3)})},
      {"delete", DeleteRow("a2")},
      {"delete the first and the last", Then(DeleteRow("a1"), DeleteRow("a4"))},
      {"delete one not there", DeleteRow("zz")},
      {"take out", UpdateRow(out)},
      {"clear and import",
       ImportRows(StepStore("", AddRows({Row("a1", 1), Row("a2", 1)})).rows,
                  {{{}, {800, 1.004, 1, std::nullopt}}}, ImportMode::Replace, ids)},
      {"record, then take it out", Then(AddRows({Row("n2", 1.2)}), UpdateRow({"n2", out.values}))},
      {"put back behind a row, at the top, at the place of one gone, one there already",
       RestoreRows({{Row("b1", 1.1), "a2", 1},
                    {Row("b2", 1.1), "", 0},
                    {Row("b3", 1.1), "zz", 3},
                    {Row("a3", 1.1), "a1", 1}})},
      {"put back behind the last row and before it",
       RestoreRows({{Row("b4", 1.1), "a4", 4}, {Row("b5", 1.1), "a3", 3}})},
      {"delete, put back, take out",
       Then(Then(DeleteRow("a2"), RestoreRows({{Row("b1", 1.1), "a3", 2}})),
            UpdateRow({"b1", out.values}))},
      {"nothing", {}},
  };
  for (const auto& [name, change] : changes) {
    StoreCopy copy;
    const std::string store =
        StepStore("", AddRows({Row("a1", 1.23), Row("a2", 1.24), Row("a3", 1.22), Row("a4", 1.2)}),
                  {}, &copy)
            .text;
    const StoreStep full = StepStore(store, change);
    const StoreStep quick = StepStore(store, change, {}, &copy);
    EXPECT_EQ(quick.rows, full.rows) << name;
    EXPECT_EQ(quick.text, full.text) << name;
    EXPECT_EQ(quick.write, full.write) << name;
    EXPECT_EQ(copy.text, full.text) << name;
    EXPECT_EQ(copy.rows, full.rows) << name;
  }
}

class StoreFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("varek-store-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string Path() const { return folder / "daten" / "messprotokoll.csv"; }
  void Write(const std::string& text) const {
    fs::create_directories(folder / "daten");
    std::ofstream(Path(), std::ios::binary) << text;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path folder;
};

// Two processes record 40 rows each into one store as fast as they can;
// every row of both is in the store at the end.
TEST_F(StoreFileTest, TwoProcessesRecordingAtOnceLoseNoRow) {
  constexpr int Rows = 40;
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      ProtocolStoreFile store(Path());
      RowIdSource ids(static_cast<std::uint64_t>(c) << 40);
      for (int i = 0; i < Rows; ++i) {
        if (!store.Apply(AddRows({Row(ids.Next(), 1 + 0.001 * i)})).ok) ::_exit(1);
      }
      ::_exit(0);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const ProtocolStoreFile::Outcome outcome = ProtocolStoreFile(Path()).Load();
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(Ids(outcome.rows).size(), 2u * Rows);
}

TEST_F(StoreFileTest, DamagedStoreKeepsItsGoodRowsAndIsKeptAsideUnderAFreshName) {
  const std::string damaged =
      "Kennung;U in V;I in A;k;Amplitude;Ablenkung\na1;1200;1,23;1;200;Wechselspannung\n"
      "a2;1200;1,2;1;200;Wechselspannung\na3;1200;x;1\n";
  Write(damaged);
  std::ofstream(Path() + ".defekt-1") << "an earlier copy";
  ProtocolStoreFile store(Path());
  const ProtocolStoreFile::Outcome outcome = store.Load();
  ASSERT_TRUE(outcome.ok);
  EXPECT_EQ(Ids(outcome.rows), (std::set<std::string>{"a1", "a2"}));
  EXPECT_EQ(outcome.message,
            "Gespeichertes Protokoll teilweise unlesbar (Zeile 4: 4 Felder statt 6, es fehlt "
            "Amplitude): 2 Messwerte geladen, das Original liegt unter \u201E" +
                Path() + ".defekt-2\u201C.");
  EXPECT_EQ(Read(Path() + ".defekt-1"), "an earlier copy");
  EXPECT_EQ(Read(Path() + ".defekt-2"), damaged);
  EXPECT_EQ(ReadTable(Read(Path()), TableForm::Store).rows, outcome.rows);
  EXPECT_TRUE(store.Load().message.empty());  // repaired once

  // Unreadable as a whole: too large, or not a regular file at all.
  Write(std::string(MaxStoreBytes + 1, 'x'));
  EXPECT_TRUE(store.Load().message.starts_with("Gespeichertes Protokoll unlesbar (\u201E"));
  EXPECT_EQ(fs::file_size(Path() + ".defekt-3"), MaxStoreBytes + 1);
  fs::remove(Path());
  ASSERT_EQ(::mkfifo(Path().c_str(), 0600), 0);
  const ProtocolStoreFile::Outcome fifo = store.Apply(AddRows({Row("b1", 1.23)}));
  EXPECT_TRUE(fifo.message.find("keine gewöhnliche Datei") != std::string::npos) << fifo.message;
  EXPECT_TRUE(fs::is_fifo(Path() + ".defekt-4"));
  EXPECT_EQ(Ids(store.Load().rows), (std::set<std::string>{"b1"}));
}

// 21000 recorded rows make a store of more than 1 MB; it loads whole.
TEST_F(StoreFileTest, LargeStoreReloadsWhole) {
  ProtocolStoreFile store(Path());
  RowIdSource ids(5);
  ProtocolTable rows;
  for (int i = 0; i < 21000; ++i) rows.push_back(Row(ids.Next(), 1 + 0.0001 * (i % 1000)));
  ASSERT_TRUE(store.Apply(AddRows(rows)).ok);
  ASSERT_GT(fs::file_size(Path()), MaxTableBytes);
  const ProtocolStoreFile::Outcome again = ProtocolStoreFile(Path()).Load();
  EXPECT_TRUE(again.message.empty()) << again.message;
  EXPECT_EQ(again.rows, rows);
}

// Another program empties or cuts the store between two readings: the
// window's rows stay, the short file is kept aside. A copy's own deletion
// is no loss.
TEST_F(StoreFileTest, StoreCutByAnotherProgramKeepsTheShownRows) {
  ProtocolStoreFile store(Path());
  ProtocolTable shown = store.Apply(AddRows({Row("a1", 1.1), Row("a2", 1.2), Row("a3", 1.3)})).rows;
  shown = ProtocolStoreFile(Path()).Apply(DeleteRow("a3"), shown).rows;  // the other copy
  ASSERT_EQ(Ids(shown), (std::set<std::string>{"a1", "a2"}));
  for (const std::string& cut : {std::string(), Read(Path()).substr(0, 60)}) {
    fs::resize_file(Path(), cut.size());
    const ProtocolStoreFile::Outcome outcome =
        store.Apply(AddRows({Row("b" + std::to_string(cut.size()), 1.4)}), shown);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_TRUE(
        outcome.message.starts_with("Das gespeicherte Protokoll hat von außen Zeilen verloren"))
        << outcome.message;
    shown = outcome.rows;
    EXPECT_EQ(ReadTable(Read(Path()), TableForm::Store).rows, shown);
  }
  EXPECT_EQ(Ids(shown), (std::set<std::string>{"a1", "a2", "b0", "b60"}));
  EXPECT_EQ(Read(Path() + ".defekt-1"), "");
  EXPECT_EQ(Read(Path() + ".defekt-2").size(), 60u);

  // Deleted outright: nothing to keep aside, and readings are still taken,
  // by this window and by a new one.
  fs::remove(Path());
  const ProtocolStoreFile::Outcome deleted = store.Apply(AddRows({Row("c1", 1.5)}), shown);
  ASSERT_TRUE(deleted.ok) << deleted.message;
  EXPECT_TRUE(deleted.message.find("von außen gelöscht") != std::string::npos) << deleted.message;
  EXPECT_EQ(ReadTable(Read(Path()), TableForm::Store).rows, deleted.rows);
  EXPECT_EQ(deleted.rows.size(), 5u);
  fs::remove(Path());
  const ProtocolStoreFile::Outcome fresh =
      ProtocolStoreFile(Path()).Apply(AddRows({Row("d1", 1.6)}));
  ASSERT_TRUE(fresh.ok) << fresh.message;
  EXPECT_EQ(Ids(ProtocolStoreFile(Path()).Load().rows), (std::set<std::string>{"d1"}));
}

// A folder that cannot be written: the stored rows are read, nothing is
// stored, the message names the folder; once it can be written, the
// change is stored.
TEST_F(StoreFileTest, FolderThatCannotBeWrittenIsReadAndNamed) {
  Write("Kennung;U in V;I in A;k;Amplitude;Ablenkung\na1;1200;1,23;1;200;Wechselspannung\n");
  fs::permissions(folder / "daten", fs::perms::owner_write, fs::perm_options::remove);
  // Permissions do not stop root: then as another user.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::seteuid(65534), 0);
  }
  ProtocolStoreFile store(Path());
  const TableChange record = AddRows({Row("b1", 1.3)});
  const ProtocolStoreFile::Outcome refused = store.Apply(record);
  if (root) {
    ASSERT_EQ(::seteuid(0), 0);
  }
  EXPECT_FALSE(refused.ok);
  EXPECT_TRUE(refused.read);
  EXPECT_EQ(Ids(refused.rows), (std::set<std::string>{"a1"}));
  EXPECT_NE(refused.message.find("Ordner \u201E" + (folder / "daten").string() +
                                 "\u201C nicht beschreibbar"),
            std::string::npos)
      << refused.message;
  fs::permissions(folder / "daten", fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Ids(store.Apply(record).rows), (std::set<std::string>{"a1", "b1"}));
  EXPECT_EQ(Ids(ReadTable(Read(Path()), TableForm::Store).rows),
            (std::set<std::string>{"a1", "b1"}));
}

}  // namespace
}  // namespace varek
