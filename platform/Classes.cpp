#include "platform/Classes.h"
#include "platform/SysUtils.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {
QByteArray native(const QString& n) { return QFile::encodeName(n); }
const QString kReadError = QStringLiteral("Stream-Lesefehler");
const QString kWriteError = QStringLiteral("Stream-Schreibfehler");
}  // namespace

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError(kReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EWriteError(kWriteError);
}

// ---------------------------------------------------------------- TMemoryStream

TMemoryStream::~TMemoryStream() { std::free(FMemory); }

void TMemoryStream::Reserve(int64_t capacity, bool exact) {
  if (capacity <= FCapacity) return;
  int64_t want = capacity;
  if (!exact) want = std::max<int64_t>(capacity, FCapacity + FCapacity / 2);
  want = (want + 0x1FFF) & ~int64_t(0x1FFF);
  void* p = std::realloc(FMemory, static_cast<size_t>(want));
  if (!p && !exact) {
    want = (capacity + 0x1FFF) & ~int64_t(0x1FFF);
    p = std::realloc(FMemory, static_cast<size_t>(want));
  }
  if (!p) throw EOutOfMemory(QStringLiteral("Zu wenig Arbeitsspeicher"));
#ifdef MADV_HUGEPAGE
  // Large documents: fewer page faults when the block is first touched.
  if (want >= (int64_t(8) << 20)) {
    const uintptr_t page = 2u << 20;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + static_cast<uintptr_t>(want)) & ~(page - 1);
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
  }
#endif
  FMemory = static_cast<uint8_t*>(p);
  FCapacity = want;
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) newSize = 0;
  // Sizing up to an exact size (a load) takes just that; growth by writing is amortised.
  Reserve(newSize, true);
  FSize = newSize;
  if (FPosition > FSize) FPosition = FSize;
}

void TMemoryStream::Clear() {
  std::free(FMemory);
  FMemory = nullptr;
  FSize = FPosition = FCapacity = 0;
}

void TMemoryStream::Swap(TMemoryStream& other) noexcept {
  std::swap(FMemory, other.FMemory);
  std::swap(FSize, other.FSize);
  std::swap(FPosition, other.FPosition);
  std::swap(FCapacity, other.FCapacity);
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || FPosition >= FSize) return 0;
  const int64_t n = std::min(count, FSize - FPosition);
  std::memcpy(buffer, FMemory + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = FPosition + count;
  if (end > FCapacity) Reserve(end, false);
  std::memcpy(FMemory + FPosition, buffer, static_cast<size_t>(count));
  FPosition = end;
  if (end > FSize) FSize = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = FSize + offset; break;
  }
  if (FPosition < 0) FPosition = 0;
  return FPosition;
}

// ---------------------------------------------------------------- TFileStream

TFileStream::TFileStream(const QString& fileName, TMode mode) : FFileName(fileName) {
  const QByteArray n = native(fileName);
  switch (mode) {
    case fmOpenRead: FHandle = ::open(n.constData(), O_RDONLY | O_CLOEXEC); break;
    case fmOpenReadWrite: FHandle = ::open(n.constData(), O_RDWR | O_CLOEXEC); break;
    case fmCreate: FHandle = ::open(n.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666); break;
  }
  if (FHandle < 0) {
    const int err = errno;
    SetLastError(err);
    if (mode == fmCreate)
      throw EFCreateError(Format(QStringLiteral("Kann Datei %s nicht erstellen.\r\n(%s.)"),
                                 {fileName, SysErrorMessage(err)}));
    throw EFOpenError(Format(QStringLiteral("Kann Datei nicht öffnen: %s.\r\n(%s.)"),
                             {fileName, SysErrorMessage(err)}));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  auto* p = static_cast<uint8_t*>(buffer);
  while (done < count) {
    const ssize_t r = ::read(FHandle, p + done, static_cast<size_t>(std::min<int64_t>(count - done, 1 << 30)));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) {
      if (r < 0) SetLastError(errno);
      break;
    }
    done += r;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  auto* p = static_cast<const uint8_t*>(buffer);
  while (done < count) {
    const ssize_t r = ::write(FHandle, p + done, static_cast<size_t>(std::min<int64_t>(count - done, 1 << 30)));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) {
      if (r < 0) SetLastError(errno);
      break;
    }
    done += r;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  const off_t r = ::lseek(FHandle, static_cast<off_t>(offset), whence);
  return r < 0 ? -1 : static_cast<int64_t>(r);
}

int64_t TFileStream::Size() const {
  struct stat st {};
  if (::fstat(FHandle, &st) != 0) return 0;
  return static_cast<int64_t>(st.st_size);
}

void TFileStream::SetSize(int64_t newSize) {
  if (::ftruncate(FHandle, static_cast<off_t>(newSize)) != 0) {
    SetLastError(errno);
    throw EWriteError(kWriteError);
  }
}

void TFileStream::Flush() {
  if (::fsync(FHandle) != 0 && errno != EINVAL) {
    SetLastError(errno);
    throw EWriteError(kWriteError);
  }
}

// ---------------------------------------------------------------- TReplacingFileStream

TReplacingFileStream::TReplacingFileStream(const QString& target) : FTarget(target) {
  // Replace what a link points to, not the link itself.
  const QFileInfo info(target);
  if (info.isSymLink() && info.exists()) FTarget = info.canonicalFilePath();
  const QString dir = ExtractFilePath(FTarget);
  QByteArray templ = native(dir + QStringLiteral(".") + ExtractFileName(FTarget) + QStringLiteral(".XXXXXX"));
  FHandle = ::mkstemp(templ.data());
  if (FHandle < 0) {
    const int err = errno;
    SetLastError(err);
    throw EFCreateError(Format(QStringLiteral("Kann Datei %s nicht erstellen.\r\n(%s.)"),
                               {target, SysErrorMessage(err)}));
  }
  ::fcntl(FHandle, F_SETFD, FD_CLOEXEC);
  FFileName = QFile::decodeName(templ);
}

TReplacingFileStream::~TReplacingFileStream() {
  if (!FCommitted && FHandle >= 0) {
    ::close(FHandle);
    FHandle = -1;
    ::unlink(native(FFileName).constData());
  }
}

namespace {

// A fresh name beside `path`: ".name.XXXXXX" with random letters, not yet taken.
QByteArray siblingName(const QString& path) {
  const QString dir = ExtractFilePath(path);
  QByteArray templ = QFile::encodeName(dir + QStringLiteral(".") + ExtractFileName(path) + QStringLiteral(".XXXXXX"));
  const int fd = ::mkstemp(templ.data());
  if (fd < 0) return {};
  ::close(fd);
  ::unlink(templ.constData());
  return templ;
}

// Keeps `from` under a new sibling name of `backup`: a hard link where the file system has
// them, else a copy. Returns the new name, empty on failure (errno set).
QByteArray keepCopy(const QByteArray& from, const QString& backup) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    const QByteArray name = siblingName(backup);
    if (name.isEmpty()) return {};
    if (::link(from.constData(), name.constData()) == 0) return name;
    if (errno == EEXIST) continue;
    if (errno != EPERM && errno != EXDEV && errno != ENOTSUP && errno != EMLINK && errno != ENOSYS) return {};
    // No hard links here: copy the bytes.
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return {};
    struct stat st {};
    ::fstat(in, &st);
    const int out = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (out < 0) {
      const int err = errno;
      ::close(in);
      errno = err;
      if (err == EEXIST) continue;
      return {};
    }
    std::vector<char> buf(1 << 16);
    bool ok = true;
    for (;;) {
      const ssize_t r = ::read(in, buf.data(), buf.size());
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) {
        ok = r == 0;
        break;
      }
      ssize_t done = 0;
      while (done < r) {
        const ssize_t w = ::write(out, buf.data() + done, static_cast<size_t>(r - done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) break;
        done += w;
      }
      if (done < r) {
        ok = false;
        break;
      }
    }
    const int err = errno;
    ::close(in);
    if (::fsync(out) != 0) ok = false;
    if (::close(out) != 0) ok = false;
    if (!ok) {
      ::unlink(name.constData());
      errno = err ? err : EIO;
      return {};
    }
    return name;
  }
  errno = EEXIST;
  return {};
}

}  // namespace

void TReplacingFileStream::Commit(const QString& backupName) {
  Flush();
  struct stat st {};
  mode_t mode;
  if (::stat(native(FTarget).constData(), &st) == 0) {
    mode = st.st_mode & 07777;
    // Best effort: only a privileged user can hand the file back to its owner.
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid())
      [[maybe_unused]] int ignored = ::fchown(FHandle, st.st_uid, st.st_gid);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(FHandle, mode);
  if (::close(FHandle) != 0) {
    FHandle = -1;
    SetLastError(errno);
    ::unlink(native(FFileName).constData());
    FCommitted = true;
    throw EWriteError(kWriteError);
  }
  FHandle = -1;
  if (!backupName.isEmpty() && FileExists(FTarget)) {
    const QByteArray kept = keepCopy(native(FTarget), backupName);
    if (kept.isEmpty()) {
      const int err = errno;
      SetLastError(err);
      ::unlink(native(FFileName).constData());
      FCommitted = true;
      throw EBackupError(EBackupError::bsCreate, err, SysErrorMessage(err));
    }
    if (::rename(kept.constData(), native(backupName).constData()) != 0) {
      const int err = errno;
      SetLastError(err);
      ::unlink(kept.constData());
      ::unlink(native(FFileName).constData());
      FCommitted = true;
      throw EBackupError(EBackupError::bsReplace, err, SysErrorMessage(err));
    }
  }
  if (::rename(native(FFileName).constData(), native(FTarget).constData()) != 0) {
    const int err = errno;
    SetLastError(err);
    ::unlink(native(FFileName).constData());
    FCommitted = true;
    throw EFCreateError(Format(QStringLiteral("Kann Datei %s nicht erstellen.\r\n(%s.)"),
                               {FTarget, SysErrorMessage(err)}));
  }
  FCommitted = true;
}
