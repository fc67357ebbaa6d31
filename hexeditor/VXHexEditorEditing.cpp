// Editing operations, change marks and the size-change policy.
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHUndoStorage.h"

bool TCustomVXHexEditor::HasChanged(int Position) const {
  if (InsertMode() || Position < 0) return false;
  return static_cast<size_t>(Position) < FChangeMarks.size() && FChangeMarks[Position];
}

void TCustomVXHexEditor::SetChanged(int Position, bool Value) {
  if (InsertMode()) FChangeMarks.clear();
  if (Position < 0) return;
  if (static_cast<size_t>(Position) < FChangeMarks.size()) {
    FChangeMarks[Position] = Value;
  } else if (Value) {
    FChangeMarks.resize(static_cast<size_t>(Position) + 1, false);
    FChangeMarks[Position] = true;
  }
}
