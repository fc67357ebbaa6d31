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

}  // namespace VXHStrings
