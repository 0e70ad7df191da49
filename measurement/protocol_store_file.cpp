// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_store_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

#include "measurement/atomic_file.h"
#include "measurement/protocol_texts.h"

namespace varek {

namespace {

// Another copy holds the lock only while it reads and writes the store.
constexpr auto LockPatience = std::chrono::seconds(5);
constexpr auto LockRetry = std::chrono::milliseconds(10);
constexpr int MostKeptAside = 10000;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p; the user's data folder does not exist before the first save.
void MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    ::mkdir(folder.substr(0, slash).c_str(), 0755);
    if (slash == std::string::npos) break;
  }
}

class StoreLock {
 public:
  explicit StoreLock(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd_ < 0) {
      error_ = errno;
      return;
    }
    const auto give_up = std::chrono::steady_clock::now() + LockPatience;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > give_up) {
        error_ = errno;
        ::close(fd_);
        fd_ = -1;
        return;
      }
      std::this_thread::sleep_for(LockRetry);
    }
  }
  ~StoreLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  bool Held() const { return fd_ >= 0; }
  int Error() const { return error_; }

  // The rows the last step wrote, kept in the lock file; 0 when not known.
  std::size_t RowsWritten() const {
    char text[24] = {};
    const ssize_t got = ::pread(fd_, text, sizeof text - 1, 0);
    std::size_t rows = 0;
    for (ssize_t i = 0; i < got && text[i] >= '0' && text[i] <= '9'; ++i)
      rows = rows * 10 + static_cast<std::size_t>(text[i] - '0');
    return rows;
  }
  void SetRowsWritten(std::size_t rows) const {
    if (rows == RowsWritten()) return;
    const std::string text = std::to_string(rows) + "\n";
    if (::ftruncate(fd_, 0) == 0) {
      [[maybe_unused]] const ssize_t written = ::pwrite(fd_, text.data(), text.size(), 0);
    }
  }

 private:
  int fd_ = -1;
  int error_ = 0;
};

bool NotWritable(int error) {
  return error == EACCES || error == EPERM || error == EROFS || error == ENOENT ||
         error == ENOTDIR || error == ENOSPC || error == EDQUOT;
}

// A save cut off by a crash leaves its temporary file; under the lock no
// other save is running.
void RemoveLeftovers(const std::string& path) {
  const std::string folder = FolderOf(path);
  const std::string prefix = path.substr(path.rfind('/') + 1) + ".tmp-";
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::string_view(entry->d_name).starts_with(prefix)) {
      ::unlink((folder + "/" + entry->d_name).c_str());
    }
  }
  ::closedir(dir);
}

// Moves or links the store to the first free kept-aside name; never over
// an existing file.
std::optional<std::string> KeepAside(const std::string& path) {
  for (int n = 1; n <= MostKeptAside; ++n) {
    const std::string name = KeptAsideName(path, n);
    if (::link(path.c_str(), name.c_str()) == 0) return name;
    if (errno == EEXIST) continue;
    // Without hard links (FAT) or for a folder: rename, but not over a file.
    if (::syscall(SYS_renameat2, AT_FDCWD, path.c_str(), AT_FDCWD, name.c_str(),
                  1 /* RENAME_NOREPLACE */) == 0) {
      return name;
    }
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

ProtocolStoreFile::ProtocolStoreFile(std::string path) : path_(std::move(path)) {}

ProtocolStoreFile::Outcome ProtocolStoreFile::Apply(const TableChange& change,
                                                    const ProtocolTable& shown) {
  const std::string folder = FolderOf(path_);
  MakeFolders(folder);
  // Not saved: the store as it is, where it can be read.
  const auto not_stored = [&](std::string message) {
    std::string error;
    const std::optional<std::string> text = ReadFileUpTo(path_, MaxStoreBytes, error);
    const bool none = !text && ::access(path_.c_str(), F_OK) != 0 && errno == ENOENT;
    return Outcome{false, text.has_value() || none,
                   text ? ReadTable(*text, TableForm::Store).rows : ProtocolTable{},
                   std::move(message)};
  };
  const StoreLock lock(path_ + ".lock");
  if (!lock.Held()) {
    if (NotWritable(lock.Error())) {
      return not_stored(NotStoredMessage(FolderNotWritable(folder, SystemReason(lock.Error()))));
    }
    return {false,
            false,
            {},
            "Das Protokoll ist von einem anderen Programm gesperrt; die Änderung ist noch nicht "
            "gesichert."};
  }
  RemoveLeftovers(path_);

  Outcome outcome;
  std::string stored, unreadable;
  struct stat info {};
  const bool present = ::lstat(path_.c_str(), &info) == 0;
  if (present) {
    std::string error;
    if (std::optional<std::string> text = ReadFileUpTo(path_, MaxStoreBytes, error)) {
      stored = std::move(*text);
    } else {
      unreadable = error;
    }
  }
  const std::size_t rows_written = lock.RowsWritten();
  StoreStep step = StepStore(stored, change, {rows_written, shown}, &copy_);
  if (!present && step.keep_aside) {
    // Deleted from outside while the lock still counts rows: there is nothing
    // to keep aside, and the rows this window shows are written anew.
    outcome.message = StoreDeletedMessage(rows_written);
    step.write = true;
  } else if (!unreadable.empty() || step.keep_aside) {
    const std::optional<std::string> kept = KeepAside(path_);
    if (!kept) {
      return {false,
              false,
              {},
              "Gespeichertes Protokoll beschädigt und nicht beiseitezulegen: " + path_};
    }
    outcome.message = unreadable.empty() ? KeptAsideMessage(step, rows_written, *kept)
                                         : StoreRepairedMessage(unreadable, step.rows_read, *kept);
    // The store is gone (renamed) or still there (linked): write it anew.
    step.write = step.write || ::access(path_.c_str(), F_OK) == 0;
  }
  if (step.write) {
    std::string error;
    if (!SaveFileAtomically(path_, step.text, error)) {
      return not_stored(NotStoredMessage(FolderNotWritable(folder, SystemReason(errno))));
    }
  }
  lock.SetRowsWritten(step.rows.size());
  if (!step.refusal.empty()) outcome.message = step.refusal;
  outcome.rows = std::move(step.rows);
  return outcome;
}

}  // namespace varek
