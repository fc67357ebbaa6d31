#include "hexeditor/VXHColors.h"
#include "hexeditor/VXHexEditor.h"

TVXHColors::TVXHColors(TCustomVXHexEditor* AOwner) : FOwner(AOwner) {}

TVXHColors::TVXHColors(const TVXHColors& Source) : FOwner(nullptr) { Assign(Source); }

TVXHColors& TVXHColors::operator=(const TVXHColors& Source) {
  if (this != &Source) Assign(Source);
  return *this;
}

void TVXHColors::Assign(const TVXHColors& Source) {
  if (this == &Source) return;
  SetBackground(Source.FBackground);
  SetChangedText(Source.FChangedText);
  SetCursorFrame(Source.FCursorFrame);
  SetNonFocusCursorFrame(Source.FNonFocusCursorFrame);
  SetOffset(Source.FOffset);
  SetOddColumn(Source.FOddColumn);
  SetEvenColumn(Source.FEvenColumn);
  SetChangedBackground(Source.FChangedBackground);
  SetCurrentOffsetBackground(Source.FCurrentOffsetBackground);
  SetCurrentOffset(Source.FCurrentOffset);
  SetOffsetBackGround(Source.FOffsetBackGround);
  SetGrid(Source.FGrid);
}

bool TVXHColors::operator==(const TVXHColors& o) const {
  return FOffset == o.FOffset && FOddColumn == o.FOddColumn && FEvenColumn == o.FEvenColumn &&
         FCursorFrame == o.FCursorFrame && FNonFocusCursorFrame == o.FNonFocusCursorFrame &&
         FBackground == o.FBackground && FChangedText == o.FChangedText &&
         FChangedBackground == o.FChangedBackground && FCurrentOffsetBackground == o.FCurrentOffsetBackground &&
         FOffsetBackGround == o.FOffsetBackGround && FCurrentOffset == o.FCurrentOffset && FGrid == o.FGrid;
}

void TVXHColors::Store(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  if (FOwner) FOwner->InvalidateGrid();
}

void TVXHColors::SetOffset(TColor value) { Store(FOffset, value); }
void TVXHColors::SetOddColumn(TColor value) { Store(FOddColumn, value); }
void TVXHColors::SetEvenColumn(TColor value) { Store(FEvenColumn, value); }
void TVXHColors::SetCursorFrame(TColor value) { Store(FCursorFrame, value); }
void TVXHColors::SetNonFocusCursorFrame(TColor value) { Store(FNonFocusCursorFrame, value); }
void TVXHColors::SetChangedText(TColor value) { Store(FChangedText, value); }
void TVXHColors::SetChangedBackground(TColor value) { Store(FChangedBackground, value); }
void TVXHColors::SetCurrentOffsetBackground(TColor value) { Store(FCurrentOffsetBackground, value); }
void TVXHColors::SetOffsetBackGround(TColor value) { Store(FOffsetBackGround, value); }
void TVXHColors::SetCurrentOffset(TColor value) { Store(FCurrentOffset, value); }
void TVXHColors::SetGrid(TColor value) { Store(FGrid, value); }

void TVXHColors::SetBackground(TColor value) {
  if (FBackground == value) return;
  // The control colour is what the unpainted cells show, so it follows the background.
  if (FOwner) FOwner->SetColor(value);
  Store(FBackground, value);
}

// ------------------------------------------------------------------ helpers

TColor InvertColor(TColor c) { return QColorToColor(ColorToQColor(c)) ^ 0xFFFFFF; }

TColor GrayColor(TColor c) {
  const QColor q = ColorToQColor(c);
  const int v = (74 * q.red() + 146 * q.green() + 36 * q.blue()) / 256;
  return RGBToColor(v, v, v);
}
