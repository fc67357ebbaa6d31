// The document's byte buffer: a memory stream with bounds-checked positioned access.
#pragma once

#include "platform/Classes.h"

class TVXHMemoryStream : public TMemoryStream {
public:
  uint8_t* PointerAt(int Index) const { return Memory() + Index; }
  // Raises EVXHexEditor "Aktuelle Position ist außerhalb der Grenzen" when EndIndex > size.
  void CheckBounds(int64_t EndIndex) const;
  void ReadAt(void* Buffer, int Index, int Count);
  void WriteAt(const void* Buffer, int Index, int Count);  // never grows the buffer
  void MoveData(int From, int To, int Count);               // ranges may overlap
};
