// The control's character translation and 16-bit character display properties.
#include "hexeditor/VXHConvert.h"
#include "hexeditor/VXHTranslation.h"
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHexEditorStrings.h"

void TCustomVXHexEditor::SetTranslation(TVXHTranslationKind value) {
  if (value == FTranslation) return;
  // 16-bit characters are shown as they are; no table applies to them.
  if (value != tkAsIs && FUnicodeChars) throw EVXHexEditor(VXHStrings::TranslationWithUnicode);
  FTranslation = value;
  InvalidateGrid();
}

void TCustomVXHexEditor::SetUnicodeChars(bool value) {
  if (value == FUnicodeChars) return;
  if (value) {
    // A character is a byte pair at an even position: rows, column groups and the
    // document must all consist of whole pairs.
    if (FBytesPerRow % 2 != 0) throw EVXHexEditor(VXHStrings::InvalidBytesPerRow);
    if (FBytesPerColumn % 2 != 0) throw EVXHexEditor(VXHStrings::InvalidBytesPerColumn);
    if (DataSize() % 2 != 0) throw EVXHexEditor(VXHStrings::UnicodeOddSize);
    FTranslation = tkAsIs;
  }
  FUnicodeChars = value;
  // Through the setter, after the flag, so the unit's own layout follow-ups run too; 2 is
  // valid in both modes, so this cannot throw half-way through the switch.
  SetBytesPerUnit(2);
  UpdateGridSize();
  BuildRulerText();
  InvalidateGrid();
}

void TCustomVXHexEditor::SetUnicodeBigEndian(bool value) {
  if (value == FUnicodeBigEndian) return;
  FUnicodeBigEndian = value;
  if (FUnicodeChars) InvalidateGrid();
}

void TCustomVXHexEditor::SetMaskChar(uint8_t value) {
  if (value == FMaskChar) return;
  FMaskChar = value;
  InvalidateGrid();
}

uint8_t TCustomVXHexEditor::CharToDataByte(uint8_t c) const { return ::CharToDataByte(FTranslation, c); }

uint8_t TCustomVXHexEditor::DataByteToChar(uint8_t b) const {
  return ::DataByteToChar(FTranslation, FMaskChar, b);
}
