// Streams: the byte sources and sinks used for loading, saving and the undo storage.
#pragma once

#include <QString>
#include <cstdint>

#include "platform/SysUtils.h"

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

class TStream {
public:
  virtual ~TStream() = default;
  // Read/Write move as many bytes as possible and return that count.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size() const = 0;
  virtual void SetSize(int64_t newSize) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  // Exact counts or EReadError / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
};

// A growable contiguous block. Growth does not zero-fill: callers write what they size.
class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;
  ~TMemoryStream() override;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() const override { return FSize; }
  // Raises EOutOfMemory when the block cannot be had; the old contents stay.
  void SetSize(int64_t newSize) override;
  void Clear();
  void Swap(TMemoryStream& other) noexcept;
  // Room for at least `capacity` bytes with amortised growth; raises EOutOfMemory.
  void Reserve(int64_t capacity) { Reserve(capacity, false); }
  // Sets the size with amortised growth, for callers that grow step by step.
  void Grow(int64_t newSize) {
    Reserve(newSize, false);
    FSize = newSize;
  }

  uint8_t* Memory() const { return FMemory; }
  int64_t Capacity() const { return FCapacity; }

private:
  void Reserve(int64_t capacity, bool exact);
  uint8_t* FMemory = nullptr;
  int64_t FSize = 0;
  int64_t FPosition = 0;
  int64_t FCapacity = 0;
};

// File handle stream. Modes: open an existing file for reading (other programs may
// still read and write it), or create/truncate a file for writing.
class TFileStream : public TStream {
public:
  enum TMode { fmOpenRead, fmOpenReadWrite, fmCreate };
  TFileStream(const QString& fileName, TMode mode);  // EFOpenError / EFCreateError
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() const override;
  void SetSize(int64_t newSize) override;
  const QString& FileName() const { return FFileName; }
  int Handle() const { return FHandle; }
  // Flushes written data to the disk; raises EWriteError on failure.
  void Flush();

protected:
  TFileStream() = default;
  QString FFileName;
  int FHandle = -1;
};

// A backup could not be made: the old file could not be kept under the backup name
// (Stage bsCreate), or an old backup could not be replaced (bsReplace).
class EBackupError : public EStreamError {
public:
  enum TStage { bsCreate, bsReplace };
  EBackupError(TStage stage, int error, const QString& message)
      : EStreamError(message), Stage(stage), Error(error) {}
  TStage Stage;
  int Error;
};

// Writes a new file beside its target and replaces the target only on Commit(),
// so a failed or abandoned save leaves the old file byte for byte as it was.
class TReplacingFileStream : public TFileStream {
public:
  explicit TReplacingFileStream(const QString& target);  // EFCreateError
  ~TReplacingFileStream() override;                       // discards unless committed
  // Flush, give the new file the target's permissions, rename it over the target.
  // With a backup name the old target is kept under that name, replacing an older
  // backup only once the new one exists; every failure leaves target and old backup
  // as they were.
  void Commit(const QString& backupName = QString());
  const QString& TargetName() const { return FTarget; }
private:
  QString FTarget;
  bool FCommitted = false;
};
