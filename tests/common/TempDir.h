// A fresh temporary folder per test, removed afterwards, with small file helpers.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempDir {
public:
  TempDir();
  QString Path(const QString& name) const;                     // full path inside the folder
  QString Write(const QString& name, const QByteArray& data);  // returns the full path
  static QByteArray Read(const QString& path);
  static QByteArray Pattern(int size, unsigned seed = 1);      // deterministic bytes
  // A readable file that cannot be opened for writing: a write-protected file, or for a
  // privileged user the running test program itself. Empty when there is none here.
  QString UnwritableFile();
private:
  QTemporaryDir FDir;
};
