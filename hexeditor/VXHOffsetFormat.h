// The offset-format language of the gutter: unit, width, radix, prefix|suffix.
#pragma once

#include <QString>
#include <cstdint>

#include "platform/Graphics.h"

enum TVXHOffsetFormatFlag : uint8_t { offAutoWidth, offBytesPerRow, offBytesPerColumn, offRulerUnit };
using TVXHOffsetFormatFlags = TSet<TVXHOffsetFormatFlag>;

struct TVXHOffsetFormat {
  QString Format;   // the whole string as last parsed successfully
  QString Prefix;
  QString Suffix;
  int32_t MinWidth = 0;
  TVXHOffsetFormatFlags Flags;
  uint8_t Radix = 16;
  uint8_t UnitSize = 1;
};

// What the unit part may refer to.
struct TVXHOffsetFormatContext {
  int BytesPerRow = 16;
  int BytesPerColumn = 2;
  int EffectiveRulerUnit = 1;
};

// Parses Text into Result. On an error EVXHexEditor is raised and Result is unchanged.
void ParseOffsetFormat(const QString& Text, const TVXHOffsetFormatContext& Context, TVXHOffsetFormat& Result);

// The offset text without an OnGetOffsetText handler.
QString FormatOffset(const TVXHOffsetFormat& Format, uint32_t Offset, bool HexLowerCase);

// "Ungültige Anzahl Bytes Per Unit %xh, erlaubt sind: 01h..BytesProZeile"
QString InvalidUnitMessage(int Value);
