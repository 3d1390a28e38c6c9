#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Saving without risk to the existing file: the bytes go to a temporary file
// beside the target (same directory, so the same file system), which is
// flushed to the disk and renamed over the target only once it is complete.
// A failure or a kill at any point leaves the old file as it was.
//
// Where the target is a device or a pipe (/dev/stdout, a FIFO) there is
// nothing to replace: the bytes are written into it directly.

// Writes `bytes` as the whole new content of `fileName`. False when the file
// cannot be created or written; nothing is shown (the caller reports it).
bool WriteFileSafely(const std::string& fileName, std::string_view bytes);

// The same for a file that is produced piece by piece:
//   AtomicFile file;
//   if (!file.Open(name) || !file.Write(...) || ... || !file.Commit()) -> failed
// Destroying an uncommitted file removes the temporary file.
class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile() { Abandon(); }

  // False when the target cannot be written: a directory, a dangling link or
  // a link loop, a file without write permission, a directory that allows
  // neither a temporary file nor the file itself to be written.
  bool Open(const std::string& fileName);
  bool Write(const void* data, std::size_t count);
  // Makes the new content the file's; false (and the old file kept) when the
  // data could not be completed.
  bool Commit();
  // Drops what was written; the old file stays.
  void Abandon();

 private:
  enum class Mode : std::uint8_t { Replace, InPlace, Direct };

  void Forget();

  std::string target_;
  std::string temp_;
  Mode mode_ = Mode::Replace;
  int fd_ = -1;
  int slot_ = -1;  // in the list of unfinished files, or -1
  std::uint64_t written_ = 0;
};

// Removes every temporary file of a save still in progress in this process.
// Only async-signal-safe calls: meant for a handler of SIGINT, SIGTERM or
// SIGHUP that then ends the program (the old files stay as they were).
void RemoveUnfinishedFiles();
