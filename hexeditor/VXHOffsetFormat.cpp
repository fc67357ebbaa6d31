#include "hexeditor/VXHOffsetFormat.h"
#include "hexeditor/VXHConvert.h"
#include "hexeditor/VXHExceptions.h"
#include "hexeditor/VXHexEditorStrings.h"

namespace {

bool isHexDigit(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// The longest run of hex digits at the start of Text, its 32-bit value and length.
struct HexRun {
  uint32_t Value = 0;
  qsizetype Length = 0;
};

HexRun takeHexRun(const QString& text) {
  HexRun r;
  while (r.Length < text.size() && isHexDigit(text[r.Length])) {
    const QChar c = text[r.Length];
    const uint32_t v = c <= u'9' ? c.unicode() - u'0' : (c.unicode() | 0x20) - u'a' + 10;
    r.Value = r.Value * 16 + v;
    ++r.Length;
  }
  return r;
}

[[noreturn]] void missing(const QString& what) {
  throw EVXHexEditor(Format(VXHStrings::OffsetFormatMissing, {what}));
}

}  // namespace

QString InvalidUnitMessage(int Value) {
  return Format(VXHStrings::InvalidBytesPerUnit, {qint64(Value)});
}

void ParseOffsetFormat(const QString& Text, const TVXHOffsetFormatContext& Context, TVXHOffsetFormat& Result) {
  TVXHOffsetFormat f = Result;
  f.Flags = {};
  if (Text.isEmpty()) {
    f.Format.clear();
    Result = f;
    return;
  }
  QString rest = Text;

  // Unit part.
  const QString head = rest.left(2).toUpper();
  int unit = 0;  // the full value, to tell 256 from 0
  if (head == QStringLiteral("R%")) {
    f.Flags.Include(offBytesPerRow);
    unit = Context.BytesPerRow;
    rest.remove(0, 2);
  } else if (head == QStringLiteral("C%")) {
    f.Flags.Include(offBytesPerColumn);
    unit = Context.BytesPerColumn;
    rest.remove(0, 2);
  } else {
    const HexRun run = takeHexRun(rest);
    if (run.Length < rest.size() && rest[run.Length] == u'%') {
      if (run.Length == 0) {
        f.Flags.Include(offRulerUnit);
        unit = Context.EffectiveRulerUnit;
      } else {
        unit = static_cast<int>(run.Value & 0xFF);
      }
      rest.remove(0, run.Length + 1);
    } else {
      f.Flags.Include(offRulerUnit);
      unit = Context.EffectiveRulerUnit;
    }
  }
  if (unit != 1 && unit != 2 && unit != 4 && unit != 8) throw EVXHexEditor(InvalidUnitMessage(unit));
  f.UnitSize = static_cast<uint8_t>(unit);

  // Width part.
  if (rest.startsWith(QStringLiteral("-!"))) {
    f.Flags.Include(offAutoWidth);
    f.MinWidth = 1;
    rest.remove(0, 2);
  } else {
    const HexRun run = takeHexRun(rest);
    if (run.Length < rest.size() && rest[run.Length] == u'!') {
      f.MinWidth = run.Length == 0 ? 1 : static_cast<int32_t>(run.Value);
      rest.remove(0, run.Length + 1);
    } else {
      f.MinWidth = 1;
    }
  }

  // Radix part.
  const HexRun radix = takeHexRun(rest);
  if (radix.Length == 0) missing(QStringLiteral("number radix"));
  if (radix.Length >= rest.size() || rest[radix.Length] != u':') missing(QStringLiteral(":"));
  f.Radix = static_cast<uint8_t>(radix.Value & 0xFF);
  if (f.Radix < 2 || f.Radix > 16) throw EVXHexEditor(Format(VXHStrings::OffsetFormatRadix, {qint64(f.Radix)}));
  rest.remove(0, radix.Length + 1);

  // Prefix | suffix.
  const qsizetype bar = rest.indexOf(u'|');
  if (bar < 0) missing(QStringLiteral("|"));
  f.Prefix = rest.left(bar);
  f.Suffix = rest.mid(bar + 1);
  f.Format = Text;
  Result = f;
}

QString FormatOffset(const TVXHOffsetFormat& F, uint32_t Offset, bool HexLowerCase) {
  if (F.Format.isEmpty()) return QString();
  QString digits;
  if (F.MinWidth != 0 || Offset != 0) {
    const uint32_t unit = F.UnitSize == 0 ? 1 : F.UnitSize;
    digits = IntToRadix(Offset / unit, F.Radix, F.MinWidth & 0xFF);
    digits = HexLowerCase ? digits.toLower() : digits.toUpper();
  }
  return F.Prefix + digits + F.Suffix;
}
