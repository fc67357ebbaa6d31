#include "common/TempDir.h"

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <stdexcept>

TempDir::TempDir() {
  if (!FDir.isValid()) throw std::runtime_error("no temporary folder");
}

QString TempDir::Path(const QString& name) const { return FDir.path() + u'/' + name; }

QString TempDir::Write(const QString& name, const QByteArray& data) {
  const QString p = Path(name);
  QFile f(p);
  if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
    throw std::runtime_error("cannot write test file");
  return p;
}

QByteArray TempDir::Read(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

QByteArray TempDir::Pattern(int size, unsigned seed) {
  QByteArray b(size, Qt::Uninitialized);
  unsigned x = seed * 2654435761u + 12345u;
  for (int i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    b[i] = static_cast<char>(x >> 24);
  }
  return b;
}

namespace {
bool writable(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}
}  // namespace

QString TempDir::UnwritableFile() {
  const QString p = Write(QStringLiteral("write-protected.bin"), Pattern(1000, 3));
  ::chmod(QFile::encodeName(p).constData(), 0444);
  if (!writable(p)) return p;
  const QString exe = QCoreApplication::applicationFilePath();  // busy while it runs
  if (!writable(exe)) return exe;
  return QString();
}
