#include "hexeditor/VXHUndoStorage.h"

void TVXHUndoStorage::Reset() {
  Clear();
  FCount = 0;
}
