// Small helpers shared by the editor tests.
#pragma once

#include <QByteArray>

#include "hexeditor/VXHexEditor.h"

// Gives the editor Count bytes 0, 1, 2, ... (mod 256) as a freshly loaded document.
inline void LoadBytes(TCustomVXHexEditor& ed, const QByteArray& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.constData(), bytes.size());
  ed.LoadFromStream(s);
}

inline QByteArray Counting(int count) {
  QByteArray b(count, Qt::Uninitialized);
  for (int i = 0; i < count; ++i) b[i] = static_cast<char>(i);
  return b;
}
