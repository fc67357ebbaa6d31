// The control's user-visible texts, gathered so they can be replaced as a whole.
#pragma once

#include <QString>

namespace VXHStrings {
inline const QString Untitled = QStringLiteral("Untitled");
inline const QString OutOfBounds = QStringLiteral("Aktuelle Position ist außerhalb der Grenzen");
inline const QString CannotOpen = QStringLiteral("Kann Datei nicht öffnen: %s.\r\n(%s.)");
inline const QString SaveReadOnly = QStringLiteral("Kann keine schreibgeschützte Datei speichern: %s.");
inline const QString Cancelled = QStringLiteral("Operation abgebrochen");
inline const QString FileTooLarge =
    QStringLiteral("Die Datei %s ist zu groß: höchstens 2147483647 Bytes können bearbeitet werden.");
inline const QString OutOfMemory =
    QStringLiteral("Nicht genügend Arbeitsspeicher, um %s zu laden (%s Bytes).");

// Numbers and hex text.
inline const QString InvalidRadixChar =
    QStringLiteral("Ungültiges Zeichen %s - es kann nicht mit Radix %xh konvertiert werden");

// Character sets, indexed by TVXHTranslationKind, and the two 16-bit display modes.
inline const QString TranslationNames[6] = {
    QStringLiteral("Windows"), QStringLiteral("Dos 8 Bit"), QStringLiteral("ASCII 7 Bit"),
    QStringLiteral("Macintosh"), QStringLiteral("EBCDIC Codepage 38"), QStringLiteral("Custom Translation")};
inline const QString TranslationShortNames[6] = {
    QStringLiteral("WIN"), QStringLiteral("DOS"), QStringLiteral("ASC"),
    QStringLiteral("MAC"), QStringLiteral("BCD"), QStringLiteral("Cust")};
inline const QString UnicodeName = QStringLiteral("Unicode");
inline const QString UnicodeShortName = QStringLiteral("UC");
inline const QString UnicodeBigEndianName = QStringLiteral("Unicode Big Endian");
inline const QString UnicodeBigEndianShortName = QStringLiteral("UBE");

// Translation, Unicode and unit rules.
inline const QString TranslationWithUnicode = QStringLiteral("Übersetzung kann nicht mit Unicode verwendet werden");
inline const QString InvalidBytesPerRow = QStringLiteral("Ungültige Anzahl Bytes per Zeile");
inline const QString InvalidBytesPerColumn = QStringLiteral("Ungültige Anzahl Bytes per Spalte");
inline const QString UnicodeOddSize =
    QStringLiteral("Unicode Mode kann nicht mit Dateien ungerader Bytezahl verwendet werden");
inline const QString UnicodeBytesPerUnit =
    QStringLiteral("Bytes pro Unit muss auf 2 für Verwendung mit Unicode gesetzt werden");
inline const QString InvalidBytesPerUnit =
    QStringLiteral("Ungültige Anzahl Bytes Per Unit %xh, erlaubt sind: 01h..BytesProZeile");

// Layout and offset format.
inline const QString InvalidRulerUnit =
    QStringLiteral("Ungültige Anzeige für Bytes/Einheit %d, erlaubt sind: -1,1,2,4,8");
inline const QString OffsetFormatMissing = QStringLiteral("Fehlendes Zeichen im Offset-Format: %s");
inline const QString OffsetFormatRadix =
    QStringLiteral("Ungültiger Radix im Offset-Format (%xh), erlaubt sind: 02h..10h");

// Painting.
inline const QString InvalidBookmarkBitmap = QStringLiteral("Ungültiges Lesezeichen (Format 10 x 200 pix)");
}  // namespace VXHStrings
