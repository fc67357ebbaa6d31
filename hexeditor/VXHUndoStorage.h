// Undo storage of the control: a stream of undo records.
#pragma once

#include "platform/Classes.h"

class TCustomVXHexEditor;

class TVXHUndoStorage : public TMemoryStream {
public:
  explicit TVXHUndoStorage(TCustomVXHexEditor& editor) : FEditor(editor) {}
  // Empties the undo and the redo history.
  void Reset();
  bool InUpdate() const { return FUpdateCount > 0; }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { if (FUpdateCount > 0) --FUpdateCount; }
  int RecordCount() const { return FCount; }
private:
  TCustomVXHexEditor& FEditor;
  int FUpdateCount = 0;
  int FCount = 0;
};
