#pragma once
#include <cstdint>

// Kinds of undo records; the value is the record's flag bit.
enum TVXHUndoKind : uint8_t {
  ukChangeBytes, ukRemoveData, ukInsertBuffer, ukReplaceSelection, ukAppendBuffer, ukInsertNibble,
  ukDeleteNibble, ukConvert, ukCursorMove, ukGroup, ukAllSaved
};
