#include "common/TempDir.h"

#include <QFile>
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
