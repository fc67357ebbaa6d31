// Grid geometry: columns, rows, widths, the offset texts and the cell <-> byte mappings.
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHConvert.h"
#include "hexeditor/VXHexEditorStrings.h"

#include <QEvent>
#include <QFontMetrics>

#include <algorithm>

namespace {
bool isUnit(int v) { return v == 1 || v == 2 || v == 4 || v == 8; }
}  // namespace

QString TCustomVXHexEditor::Version() const { return QStringLiteral("ZQ HEXEditor control 1.1"); }

// ------------------------------------------------------------------ offset texts

void TCustomVXHexEditor::ParseOffsetFormat(const QString& Text) {
  ::ParseOffsetFormat(Text, {FBytesPerRow, FBytesPerColumn, FEffectiveRulerUnit}, FOffsetFormat);
}

QString TCustomVXHexEditor::GetOffsetText(uint32_t Offset) {
  if (OnGetOffsetText) {
    QString text;
    OnGetOffsetText(this, static_cast<int64_t>(Offset), text);
    return text;
  }
  return FormatOffset(FOffsetFormat, Offset, FHexLowerCase);
}

void TCustomVXHexEditor::SetOffsetFormat(const QString& value) {
  if (value == FOffsetFormat.Format) return;
  // A failed parse leaves the record as it was, so the previous format stays in force.
  ParseOffsetFormat(value);
  UpdateGutterWidth();
  InvalidateGrid();
}

// Formats whose unit follows a layout value pick up its new value unchecked.
void TCustomVXHexEditor::ApplyUnitSizeFollowers() {
  const TVXHOffsetFormatFlags f = FOffsetFormat.Flags;
  if (f.Contains(offBytesPerRow)) FOffsetFormat.UnitSize = static_cast<uint8_t>(FBytesPerRow);
  else if (f.Contains(offBytesPerColumn)) FOffsetFormat.UnitSize = static_cast<uint8_t>(FBytesPerColumn);
  else if (f.Contains(offRulerUnit)) FOffsetFormat.UnitSize = static_cast<uint8_t>(FEffectiveRulerUnit);
}

void TCustomVXHexEditor::UpdateGutterWidth() {
  const uint32_t last = static_cast<uint32_t>(std::max(RowCount() - 3, 0)) * static_cast<uint32_t>(FBytesPerRow);
  if (OnGetOffsetText) {
    FGutterChars = static_cast<int>(GetOffsetText(last).size()) + 1;
  } else {
    if (FOffsetFormat.Flags.Contains(offAutoWidth)) {
      const uint32_t unit = FOffsetFormat.UnitSize == 0 ? 1 : FOffsetFormat.UnitSize;
      FOffsetFormat.MinWidth = static_cast<int32_t>(IntToRadix(last / unit, FOffsetFormat.Radix, 0).size());
    }
    FGutterChars = static_cast<int>(GetOffsetText(last).size()) + 1;
  }
  SetColWidths(0, FGutterWidth != -1 ? FGutterWidth : FGutterChars * std::max(FCharWidth, 0) + 21);
}

void TCustomVXHexEditor::BuildRulerText() {
  QString text;
  const int count = FBytesPerRow / FBytesPerUnit;
  text.reserve(count * 2 * FEffectiveRulerUnit);
  for (int i = 0; i < count; ++i) text += IntToRadix(static_cast<uint32_t>(i), 16, 2 * FEffectiveRulerUnit);
  FRulerText = FHexLowerCase ? text.toLower() : text.toUpper();
}

// ------------------------------------------------------------------ layout

void TCustomVXHexEditor::UpdateLayout() {
  const QFontMetrics fm(FFont.ToQFont());
  FCharWidth = fm.horizontalAdvance(QStringLiteral("w"));
  UpdateGutterWidth();
  const int cw = FCharWidth;
  const int n = FBytesPerRow, h = HexColumnCount();
  const int m = 2 * FBytesPerColumn, b = FBytesPerBlock;
  std::vector<int> widths(ColCount(), 0);
  widths[0] = ColWidths(0);
  widths[1] = 6;
  for (int k = 0; k < h && k + 2 < ColCount(); ++k) {
    int w;
    if (k == h - 1) {
      w = 2 * cw;
    } else {
      w = cw;
      if (k % m == m - 1) w += cw;
      if (b > 1 && k % (2 * b) == 2 * b - 1) w += cw;
    }
    widths[k + 2] = w;
  }
  if (h + 2 < ColCount()) widths[h + 2] = cw;
  const int charCols = FUnicodeChars ? n / 2 : n;
  const int eru = FEffectiveRulerUnit;
  for (int c = 0; c < charCols && h + 3 + c < ColCount(); ++c) {
    int w = cw + 1;
    if (!FUnicodeChars) {
      if (eru > 1 && c % eru == eru - 1) w = (3 * cw) / 2 + 1;
      if (b > 1 && FSeparateBlocksInCharField && c % b == b - 1) w += cw;
    } else if (b > 1 && FSeparateBlocksInCharField && b / 2 > 0 && c % (b / 2) == b / 2 - 1) {
      w += cw;
    }
    widths[h + 3 + c] = w;
  }
  widths[ColCount() - 1] = 2 * cw + 1;
  SetAllColWidths(widths);

  FLineHeight = fm.height() + 2;
  SetDefaultRowHeight(FLineHeight);
  SetRowHeights(1, 0);
  SetRowHeights(0, FShowRuler ? FLineHeight + 3 : 0);
}

void TCustomVXHexEditor::UpdateGridSize() {
  const int size = DataSize();
  if (static_cast<int64_t>(FChangeMarks.size()) > size) FChangeMarks.resize(size);
  const int n = FBytesPerRow;
  int rows = 3;
  if (size > 0) {
    rows = static_cast<int>((int64_t(size) + n - 1) / n + 2);
    if (size % n == 0 && InsertMode()) ++rows;
  }
  SetRowCount(rows);
  SetColCount(FUnicodeChars ? 2 * n + n / 2 + 3 : 3 * n + 3);
  SetFixedCols(2);
  SetFixedRows(2);
  UpdateLayout();
}

void TCustomVXHexEditor::changeEvent(QEvent* e) {
  TCustomGrid::changeEvent(e);
  if (e->type() == QEvent::FontChange) UpdateLayout();
}

void TCustomVXHexEditor::SetFont(const TFont& value) {
  if (value == FFont) return;
  FFont = value;
  setFont(FFont.ToQFont());  // the font-change notification lays the grid out again
  UpdateLayout();
  InvalidateGrid();
}

// ------------------------------------------------------------------ layout properties

void TCustomVXHexEditor::SetBytesPerRow(int value) {
  if (value == FBytesPerRow) return;
  if (value < 1 || value > 256 || (FUnicodeChars && value % 2 != 0))
    throw EVXHexEditor(VXHStrings::InvalidBytesPerRow);
  // The unit is eight bits wide: a format following a row of 256 would divide by zero.
  if (value == 256 && FOffsetFormat.Flags.Contains(offBytesPerRow)) throw EVXHexEditor(InvalidUnitMessage(value));
  if (FOffsetFormat.Flags.Contains(offBytesPerRow)) FOffsetFormat.UnitSize = static_cast<uint8_t>(value);

  const int anchor = FSelAnchor, low = FSelLow, high = FSelHigh;
  int pos = CellToPosition(Col(), Row());
  const bool inChar = CaretInCharField();
  const bool second = CaretOnSecondNibble();

  FBytesPerRow = value;
  BuildRulerText();
  UpdateGridSize();
  if (pos >= DataSize()) pos = DataSize() - 1;
  const TGridCoord cell = PositionToCell(pos, inChar);
  MoveCurrentCell(cell.X + (second ? 1 : 0), cell.Y, true);
  SetSelectionRaw(anchor, low, high, false);
}

void TCustomVXHexEditor::SetBytesPerColumn(int value) {
  if (value == FBytesPerColumn) return;
  if (value < 1 || value > 256 || (FUnicodeChars && value % 2 != 0))
    throw EVXHexEditor(VXHStrings::InvalidBytesPerColumn);
  if (value == 256 && FOffsetFormat.Flags.Contains(offBytesPerColumn))
    throw EVXHexEditor(InvalidUnitMessage(value));
  if (FOffsetFormat.Flags.Contains(offBytesPerColumn)) FOffsetFormat.UnitSize = static_cast<uint8_t>(value);
  FBytesPerColumn = value;
  UpdateLayout();
  BuildRulerText();
  InvalidateGrid();
}

void TCustomVXHexEditor::SetBytesPerUnit(int value) {
  if (value == FBytesPerUnit) return;
  if (FUnicodeChars && value != 2) throw EVXHexEditor(VXHStrings::UnicodeBytesPerUnit);
  if (!isUnit(value)) throw EVXHexEditor(InvalidUnitMessage(value));
  FBytesPerUnit = value;
  if (FRulerBytesPerUnit == -1) FEffectiveRulerUnit = value;
  if (FOffsetFormat.Flags.Contains(offRulerUnit)) FOffsetFormat.UnitSize = static_cast<uint8_t>(FEffectiveRulerUnit);
  UpdateLayout();
  BuildRulerText();
  InvalidateGrid();
}

void TCustomVXHexEditor::SetRulerBytesPerUnit(int value) {
  if (value == FRulerBytesPerUnit) return;
  if (value != -1 && !isUnit(value)) throw EVXHexEditor(Format(VXHStrings::InvalidRulerUnit, {qint64(value)}));
  FRulerBytesPerUnit = value;
  FEffectiveRulerUnit = value == -1 ? FBytesPerUnit : value;
  if (FOffsetFormat.Flags.Contains(offRulerUnit)) FOffsetFormat.UnitSize = static_cast<uint8_t>(FEffectiveRulerUnit);
  UpdateLayout();
  BuildRulerText();
  InvalidateGrid();
}

void TCustomVXHexEditor::SetBytesPerBlock(int value) {
  if (value == FBytesPerBlock) return;
  FBytesPerBlock = value;
  UpdateLayout();
}

void TCustomVXHexEditor::SetSeparateBlocksInCharField(bool value) {
  if (value == FSeparateBlocksInCharField) return;
  FSeparateBlocksInCharField = value;
  if (value && FBytesPerBlock > 1) UpdateLayout();
}

void TCustomVXHexEditor::SetGutterWidth(int value) {
  if (value == FGutterWidth) return;
  FGutterWidth = value;
  UpdateGutterWidth();
  InvalidateGrid();
}

void TCustomVXHexEditor::SetShowRuler(bool value) {
  if (value == FShowRuler) return;
  FShowRuler = value;
  UpdateLayout();
}

void TCustomVXHexEditor::SetDrawGutter3D(bool value) {
  if (value == FDrawGutter3D) return;
  FDrawGutter3D = value;
  InvalidateGrid();
}

void TCustomVXHexEditor::SetHexLowerCase(bool value) {
  if (value == FHexLowerCase) return;
  FHexLowerCase = value;
  FDigits = value ? "0123456789abcdef" : "0123456789ABCDEF";
  BuildRulerText();
  InvalidateGrid();
}

// ------------------------------------------------------------------ mappings

int TCustomVXHexEditor::CellToPosition(int ACol, int ARow) const {
  const int h = HexColumnCount();
  int64_t index;
  if (ACol > h + 2) {
    index = ACol - (h + 3);
    if (FUnicodeChars) index *= 2;
    FLastFieldIsChar = true;
  } else {
    index = (ACol - 2) / 2;  // truncates toward zero, so column 1 maps like column 2
    FLastFieldIsChar = false;
  }
  const int64_t pos = index + int64_t(ARow - 2) * FBytesPerRow;
  if (pos < 0) return 0;
  return static_cast<int>(std::min<int64_t>(pos, INT32_MAX));
}

TGridCoord TCustomVXHexEditor::PositionToCell(int Position, bool InCharField) const {
  if (Position < 0) return {2, 2};
  const int row = Position / FBytesPerRow + 2;
  int rem = Position % FBytesPerRow;
  if (InCharField) {
    if (FUnicodeChars) rem /= 2;
    return {HexColumnCount() + 3 + rem, row};
  }
  return {2 * rem + 2, row};
}

int TCustomVXHexEditor::OtherFieldColumn(int ACol, bool* InCharField) const {
  const int h = HexColumnCount();
  if (ACol <= h + 2) {
    if (InCharField) *InCharField = false;
    return h + 3 + (ACol - 2) / (FUnicodeChars ? 4 : 2);
  }
  if (InCharField) *InCharField = true;
  return (FUnicodeChars ? 4 : 2) * (ACol - h - 3) + 2;
}

int TCustomVXHexEditor::FirstVisiblePosition() const {
  if (DataSize() == 0) return -1;
  return CellToPosition(2, TopRow());
}

int TCustomVXHexEditor::LastVisiblePosition() const {
  if (DataSize() == 0) return -1;
  const int64_t last = int64_t(FirstVisiblePosition()) + int64_t(VisibleRowCount()) * FBytesPerRow - 1;
  return static_cast<int>(std::min<int64_t>(DataSize() - 1, last));
}

void TCustomVXHexEditor::NormalizeRange(int& a, int& b) const {
  a = AlignToUnit(a);
  b = AlignToUnit(b);
  int& larger = a > b ? a : b;
  larger = std::min(larger + FBytesPerUnit - 1, DataSize() - 1);
}

void TCustomVXHexEditor::ClampToEnd(int& p) const {
  if (p >= DataSize()) p = InsertMode() ? DataSize() : DataSize() - 1;
}

// ------------------------------------------------------------------ caret, selection, insert mode

int TCustomVXHexEditor::CaretPosition() const {
  return std::clamp(CellToPosition(Col(), Row()), 0, std::max(0, DataSize() - 1));
}

bool TCustomVXHexEditor::CaretInCharField() const {
  return DataSize() > 0 && IsCharFieldColumn(Col());
}

bool TCustomVXHexEditor::CaretOnSecondNibble() const {
  return !IsCharFieldColumn(Col()) && Col() >= 2 && (Col() - 2) % 2 == 1;
}

void TCustomVXHexEditor::SetSelectionRaw(int Anchor, int Low, int High, bool Redraw) {
  const int last = DataSize() - 1;
  FSelAnchor = std::clamp(Anchor, -1, last);
  FSelLow = std::clamp(Low, -1, last);
  FSelHigh = std::clamp(High, -1, last);
  if (Redraw) InvalidateGrid();
}


bool TCustomVXHexEditor::InsertMode() const { return FInsertMode && CanInsert(); }

void TCustomVXHexEditor::SetInsertMode(bool value) {
  if (value == FInsertMode || !CanInsert()) return;
  FInsertMode = value;
  if (FCaretKind == ckAuto && IsFocused()) CreateCaretShape();
  if (DataSize() == 0) return;
  const bool onAppend = CellToPosition(Col(), Row()) >= DataSize();
  UpdateGridSize();  // adds or removes the row of the append position
  if (!value && onAppend) {
    const TGridCoord c = PositionToCell(DataSize() - 1, CaretInCharField());
    ResetSelection(true);
    MoveCurrentCell(c.X, c.Y, true);
  }
  ClearChangeMarks();
  InvalidateGrid();
}
