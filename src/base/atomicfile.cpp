#include "base/atomicfile.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

// The temporary files of saves in progress, for RemoveUnfinishedFiles, which
// a signal handler calls: fixed storage and lock-free flags, no allocation.
// A save that finds every slot taken still works; only a kill would leave
// its temporary file behind.
constexpr int kSlots = 8;
enum SlotState : int { kFree, kFilling, kReady };
struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};
Slot slots[kSlots];

int ClaimSlot(const std::string& pattern) {
  if (pattern.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (slots[i].state.compare_exchange_strong(expected, kFilling)) {
      std::memcpy(slots[i].path, pattern.c_str(), pattern.size() + 1);
      return i;
    }
  }
  return -1;
}

void ReleaseSlot(int slot) {
  if (slot >= 0) slots[slot].state.store(kFree);
}

// Creates a unique file from `pattern` (ending in XXXXXX) and lists it as
// unfinished before any signal can see the file without its name.
int CreateListed(std::string& pattern, int& slot) {
  sigset_t all;
  sigset_t previous;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &previous);
  slot = ClaimSlot(pattern);
  char* name = slot >= 0 ? slots[slot].path : pattern.data();
  const int fd = ::mkostemp(name, O_CLOEXEC);
  if (slot >= 0) {
    if (fd >= 0) {
      pattern = name;
      slots[slot].state.store(kReady);
    } else {
      ReleaseSlot(slot);
      slot = -1;
    }
  }
  const int error = errno;
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = error;
  return fd;
}

std::string Directory(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

bool AtomicFile::Open(const std::string& fileName) {
  Abandon();
  if (fileName.empty()) return false;
  target_ = fileName;
  written_ = 0;
  struct stat st {};
  bool exists = ::lstat(fileName.c_str(), &st) == 0;
  if (exists && S_ISLNK(st.st_mode)) {
    // Save into the file the link points to and keep the link. A link to
    // nothing or a loop of links fails rather than being replaced by a file.
    char resolved[PATH_MAX];
    if (::realpath(fileName.c_str(), resolved) == nullptr) return false;
    target_ = resolved;
    exists = ::stat(target_.c_str(), &st) == 0;
  }
  if (exists && S_ISDIR(st.st_mode)) return false;
  if (exists && !S_ISREG(st.st_mode)) {
    // A device or pipe: there is nothing to replace.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    mode_ = Mode::Direct;
    return fd_ >= 0;
  }
  // The rename would replace a file the user may not write, as the shell's
  // redirection would not.
  if (exists && ::access(target_.c_str(), W_OK) != 0) return false;

  std::string pattern = target_ + ".tmp-XXXXXX";
  fd_ = CreateListed(pattern, slot_);
  if (fd_ < 0 && errno == ENAMETOOLONG) {
    pattern = Directory(target_) + ".tonbrisk-XXXXXX";
    fd_ = CreateListed(pattern, slot_);
  }
  if (fd_ < 0 && exists && (errno == EACCES || errno == EPERM)) {
    // The directory forbids a new file but the file itself may be written.
    // Less safe than the rename: a failure in the middle leaves the file
    // part new, part old. Writing over the old bytes without truncating
    // first at least needs no new disk space until the file grows.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    mode_ = Mode::InPlace;
    return fd_ >= 0;
  }
  if (fd_ < 0) return false;
  mode_ = Mode::Replace;
  temp_ = pattern;
  // mkstemp makes the file private; give it the old file's permissions, or
  // those a newly created file would get.
  mode_t mode;
  if (exists) {
    mode = st.st_mode & 07777;
    // Keeps the owner when an administrator saves someone else's file;
    // refused (and harmless) for everyone else.
    [[maybe_unused]] const int owned = ::fchown(fd_, st.st_uid, st.st_gid);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd_, mode);
  return true;
}

bool AtomicFile::Write(const void* data, std::size_t count) {
  if (fd_ < 0) return false;
  const auto* p = static_cast<const unsigned char*>(data);
  while (count > 0) {
    const ssize_t done = ::write(fd_, p, count);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    p += done;
    count -= static_cast<std::size_t>(done);
    written_ += static_cast<std::uint64_t>(done);
  }
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0) return false;
  bool ok = true;
  if (mode_ == Mode::InPlace) ok = ::ftruncate(fd_, static_cast<off_t>(written_)) == 0;
  // On the disk before the rename: otherwise a crash could leave the new
  // name with no data.
  if (ok && mode_ != Mode::Direct) ok = ::fsync(fd_) == 0;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) ok = false;
  if (ok && mode_ == Mode::Replace) ok = ::rename(temp_.c_str(), target_.c_str()) == 0;
  if (!ok) {
    Abandon();
    return false;
  }
  Forget();
  return true;
}

void AtomicFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  Forget();
}

void AtomicFile::Forget() {
  ReleaseSlot(slot_);
  slot_ = -1;
  temp_.clear();
}

bool WriteFileSafely(const std::string& fileName, std::string_view bytes) {
  AtomicFile file;
  return file.Open(fileName) && file.Write(bytes.data(), bytes.size()) && file.Commit();
}

void RemoveUnfinishedFiles() {
  for (Slot& slot : slots) {
    if (slot.state.load() == kReady) ::unlink(slot.path);
  }
}
