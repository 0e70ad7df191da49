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
  // Import: "Ersetzen" clears what the user saw, "Anhängen" keeps it.
  RowIdSource ids(7);
  const ProtocolTable now = StepStore(store, {}).rows;
  const std::vector<Measurement> file = {{800, 1.004, 1, std::nullopt}};
  EXPECT_EQ(StepStore(store, ImportRows(now, file, ImportMode::Replace, ids)).rows.size(), 1u);
  EXPECT_EQ(StepStore(store, ImportRows(now, file, ImportMode::Append, ids)).rows.size(), 3u);
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
  Write(std::string(MaxTableBytes + 1, 'x'));
  EXPECT_TRUE(store.Load().message.starts_with("Gespeichertes Protokoll unlesbar (\u201E"));
  EXPECT_EQ(fs::file_size(Path() + ".defekt-3"), MaxTableBytes + 1);
  fs::remove(Path());
  ASSERT_EQ(::mkfifo(Path().c_str(), 0600), 0);
  const ProtocolStoreFile::Outcome fifo = store.Apply(AddRows({Row("b1", 1.23)}));
  EXPECT_TRUE(fifo.message.find("keine gewöhnliche Datei") != std::string::npos) << fifo.message;
  EXPECT_TRUE(fs::is_fifo(Path() + ".defekt-4"));
  EXPECT_EQ(Ids(store.Load().rows), (std::set<std::string>{"b1"}));
}

}  // namespace
}  // namespace varek
