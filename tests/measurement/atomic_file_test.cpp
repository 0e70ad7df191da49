// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "measurement/atomic_file.h"

namespace varek {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("varek-atomic-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
  }
  fs::path folder;
};

TEST_F(AtomicFileTest, ReplacesTheFileAndLeavesNoTemporaryBehind) {
  const std::string path = folder / "tabelle.csv";
  std::string error;
  ASSERT_TRUE(SaveFileAtomically(path, "alt\n", error)) << error;
  ASSERT_TRUE(SaveFileAtomically(path, "neu\n", error)) << error;
  EXPECT_EQ(ReadFileUpTo(path, 1 << 21, error), "neu\n");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, FailuresSayWhyInGermanAndKeepTheOldFile) {
  std::string error;
  EXPECT_FALSE(SaveFileAtomically(folder / "fehlt" / "x.csv", "a", error));
  EXPECT_NE(error.find("nicht gefunden"), std::string::npos) << error;
  EXPECT_FALSE(ReadFileUpTo(folder / "nichts.csv", 100, error));
  EXPECT_NE(error.find("Kann"), std::string::npos) << error;
  EXPECT_FALSE(ReadFileUpTo(folder, 100, error));
  EXPECT_NE(error.find("ist ein Ordner"), std::string::npos) << error;
  // The target is a folder: rename fails, and nothing is left behind.
  const std::string taken = folder / "belegt";
  fs::create_directories(fs::path(taken) / "inhalt");
  EXPECT_FALSE(SaveFileAtomically(taken, "a", error));
  EXPECT_TRUE(fs::is_directory(taken));
  EXPECT_EQ(Entries(), 1u);
}

// Nothing that is not a regular file is read, nothing waits, nothing beyond
// the limit is kept.
TEST_F(AtomicFileTest, ReadingIsBoundedAndNeverWaits) {
  std::string error;
  const std::string fifo = folder / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadFileUpTo(fifo, 100, error));  // no writer: would block without O_NONBLOCK
  EXPECT_NE(error.find("keine gewöhnliche Datei"), std::string::npos) << error;
  EXPECT_FALSE(ReadFileUpTo("/dev/zero", 100, error));
  EXPECT_NE(error.find("keine gewöhnliche Datei"), std::string::npos) << error;
  const std::string path = folder / "tabelle.csv";
  ASSERT_TRUE(SaveFileAtomically(path, std::string(101, 'x'), error));
  EXPECT_FALSE(ReadFileUpTo(path, 100, error));
  EXPECT_EQ(error, "\u201E" + path + "\u201C ist größer als 100 Bytes und wird nicht gelesen");
  EXPECT_EQ(ReadFileUpTo(path, 101, error), std::string(101, 'x'));
}

// A process killed at a random moment while it saves over and over leaves
// one whole version, never a mix or a cut-off file.
TEST_F(AtomicFileTest, AKilledWriterLeavesAWholeFile) {
  const std::string path = folder / "tabelle.csv";
  const std::string versions[] = {std::string(1 << 20, 'a'), std::string(1 << 19, 'b')};
  std::string error;
  ASSERT_TRUE(SaveFileAtomically(path, versions[0], error));
  for (int round = 0; round < 3; ++round) {
    int saved[2];
    ASSERT_EQ(::pipe(saved), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Says when each save is done, so that the kill comes in the middle of a later one.
      std::string ignored;
      for (int i = 0;; ++i) {
        SaveFileAtomically(path, versions[i % 2], ignored);
        if (::write(saved[1], "s", 1) != 1) ::_exit(1);
      }
    }
    ::close(saved[1]);
    char done = 0;
    for (int i = 0; i <= round; ++i) ASSERT_EQ(::read(saved[0], &done, 1), 1);
    ::kill(child, SIGKILL);
    ::close(saved[0]);
    ::waitpid(child, nullptr, 0);
    const auto content = ReadFileUpTo(path, 1 << 21, error);
    ASSERT_TRUE(content);
    EXPECT_TRUE(*content == versions[0] || *content == versions[1]) << content->size();
  }
}

}  // namespace
}  // namespace varek
