// TIniFile: a reader and writer of Windows profile ("ini") files.
//
// The file is a text of lines: "[Section]" starts a section, "Key=Value" is an entry of the
// section above it; every other line (blank lines, comments starting with ';' or '#', lines
// without '=', lines before the first section) is kept as it is but has no meaning.
//
// - Section names and keys are compared without regard to letter case; the first entry of a
//   key wins (a section written twice in the file counts as one, its parts in file order).
// - Values are trimmed of surrounding blanks on reading; ReadString returns at most 2047
//   characters. Quotes around a value are not removed.
// - Every operation reads the file anew, so a change made by another program is seen; every
//   write reaches the file at once: the whole file is written to a temporary file in the same
//   folder, flushed and renamed over the old one (its permissions kept; a symbolic link is
//   followed). A write keeps the order of keys, unknown keys and sections, comments and blank
//   lines; an existing key gets its new value in place, a new key goes at the end of its
//   section, a missing section is added at the end of the file. A write that cannot be done
//   raises EIniFileException "nach %s kann nicht geschrieben werden" and leaves the file as it
//   was. Reading never raises: a missing or unreadable file reads as empty.
// - Encoding: UTF-8 (with or without byte-order mark) is read and written; a line that is not
//   valid UTF-8 is read as Windows-1252 (decided line by line, so a file holding both reads
//   right) and written back as UTF-8; a UTF-16 file with a byte-order mark is read and written
//   back as UTF-16. Line ends CR LF, LF and CR are read; a write uses the line end the file
//   already has (its first one), a new file gets the platform's own (LF; CR LF on Windows).
// - A new section follows a blank line; erasing the last section of the file also drops the
//   blank lines before it, so erasing and rewriting a section gives back the same layout.
// - Line breaks inside a written section name, key or value are replaced by blanks, since the
//   format cannot hold them.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/SysUtils.h"

class TIniFile {
public:
  explicit TIniFile(const QString& FileName);

  const QString& FileName() const { return FFileName; }

  // The value of the key (trimmed, at most 2047 characters); Default when the key is missing.
  // A key that is present with an empty value gives the empty text.
  QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
  // The value read as an integer by ParseInteger; Default when missing or not a 32-bit number.
  int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
  // ReadInteger with Default as 1 or 0; any value other than 0 is true.
  bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;

  void WriteString(const QString& Section, const QString& Ident, const QString& Value);
  void WriteInteger(const QString& Section, const QString& Ident, int Value);  // decimal
  void WriteBool(const QString& Section, const QString& Ident, bool Value);    // "1" / "0"

  // Replace the contents of Strings (cleared first).
  void ReadSection(const QString& Section, QStringList& Strings) const;        // key names, file order
  void ReadSections(QStringList& Strings) const;                               // section names, file order
  void ReadSectionValues(const QString& Section, QStringList& Strings) const;  // "Key=Value" lines

  bool SectionExists(const QString& Section) const;  // the file has a line "[Section]"
  bool ValueExists(const QString& Section, const QString& Ident) const;

  // Removes every line of the section, its header included (nothing happens when it is missing).
  void EraseSection(const QString& Section);
  // Removes the key's lines from the section (nothing happens when it is missing).
  void DeleteKey(const QString& Section, const QString& Ident);

  // The profile integer form: "$", "x", "X", "0x" or "0X" followed by hex digits is read as
  // hexadecimal (up to FFFFFFFF, taken as its 32-bit two's-complement value, so $8000000F is
  // -2147483633); anything else as decimal with an optional sign, in the 32-bit range. No
  // blanks, no sign before a hex prefix. Returns false (value unchanged) when s is no such
  // number.
  static bool ParseInteger(const QString& s, int& value);

  static constexpr int MaxValueLength = 2047;

private:
  void ReadKeys(const QString& Section, QStringList& Strings, bool WithValues) const;
  QString FFileName;
};
