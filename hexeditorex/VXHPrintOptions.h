// Margins, header, footer and flags for printing a document.
#pragma once

#include <QString>
#include <cstdint>

#include "platform/Graphics.h"

enum TVXHPrintFlag : uint8_t { pfSelectionOnly, pfSelectionBold, pfMonochrome, pfUseBackgroundColor, pfCurrentViewOnly };
using TVXHPrintFlags = TSet<TVXHPrintFlag>;

class TVXHPrintOptions {
public:
  // Millimetres; index 1 left, 2 top, 3 right, 4 bottom.
  int Margin(int Index) const { return Index >= 1 && Index <= 4 ? FMargins[Index - 1] : 0; }
  void SetMargin(int Index, int Value) {
    if (Index >= 1 && Index <= 4) FMargins[Index - 1] = Value;
  }
  int MarginLeft() const { return FMargins[0]; }
  void SetMarginLeft(int v) { FMargins[0] = v; }
  int MarginTop() const { return FMargins[1]; }
  void SetMarginTop(int v) { FMargins[1] = v; }
  int MarginRight() const { return FMargins[2]; }
  void SetMarginRight(int v) { FMargins[2] = v; }
  int MarginBottom() const { return FMargins[3]; }
  void SetMarginBottom(int v) { FMargins[3] = v; }
  // Index 0 header, 1 footer.
  const QString& PageHeader() const { return FHeaders[0]; }
  void SetPageHeader(const QString& v) { FHeaders[0] = v; }
  const QString& PageFooter() const { return FHeaders[1]; }
  void SetPageFooter(const QString& v) { FHeaders[1] = v; }
  TVXHPrintFlags Flags() const { return FFlags; }
  void SetFlags(TVXHPrintFlags v) { FFlags = v; }
  void Assign(const TVXHPrintOptions& Source) { *this = Source; }

private:
  int FMargins[4] = {20, 15, 25, 25};
  QString FHeaders[2];
  TVXHPrintFlags FFlags{pfSelectionBold, pfMonochrome};
};
