#include "hexeditor/VXHMemoryStream.h"
#include "hexeditor/VXHexEditorStrings.h"
#include "hexeditor/VXHExceptions.h"

#include <cstring>

void TVXHMemoryStream::CheckBounds(int64_t EndIndex) const {
  if (EndIndex > Size()) throw EVXHexEditor(VXHStrings::OutOfBounds);
}

void TVXHMemoryStream::ReadAt(void* Buffer, int Index, int Count) {
  if (Index < 0 || Count < 0) throw EVXHexEditor(VXHStrings::OutOfBounds);
  CheckBounds(int64_t(Index) + Count);
  if (Count > 0) std::memcpy(Buffer, PointerAt(Index), static_cast<size_t>(Count));
}

void TVXHMemoryStream::WriteAt(const void* Buffer, int Index, int Count) {
  if (Index < 0 || Count < 0) throw EVXHexEditor(VXHStrings::OutOfBounds);
  CheckBounds(int64_t(Index) + Count);
  if (Count > 0) std::memcpy(PointerAt(Index), Buffer, static_cast<size_t>(Count));
}

void TVXHMemoryStream::MoveData(int From, int To, int Count) {
  if (Count > 0) std::memmove(PointerAt(To), PointerAt(From), static_cast<size_t>(Count));
}
