#include "platform/IniFiles.h"
#include "platform/CodePages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringConverter>

#include <vector>

namespace {

enum class TIniEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE };

#ifdef Q_OS_WIN
const QString kNativeEol = QStringLiteral("\r\n");
#else
const QString kNativeEol = QStringLiteral("\n");
#endif

QString DecodeCp1252(QByteArrayView bytes) {
  return AnsiBytesToString(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

enum class TLineKind { Other, Section, Key };

struct TLineInfo {
  TLineKind Kind = TLineKind::Other;
  QString Name;     // section name or key, trimmed
  qsizetype Eq = -1;  // position of '=' in a key line
};

TLineInfo Classify(const QString& line) {
  TLineInfo info;
  const QStringView t = QStringView(line).trimmed();
  if (t.isEmpty() || t[0] == u';' || t[0] == u'#') return info;
  if (t[0] == u'[') {
    const qsizetype close = t.lastIndexOf(u']');  // a name may hold ']'
    info.Kind = TLineKind::Section;
    info.Name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed().toString();
    return info;
  }
  const qsizetype eq = line.indexOf(u'=');
  if (eq < 0) return info;
  const QStringView key = QStringView(line).left(eq).trimmed();
  if (key.isEmpty()) return info;
  info.Kind = TLineKind::Key;
  info.Name = key.toString();
  info.Eq = eq;
  return info;
}

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The file as lines, with what is needed to write it back the way it came.
struct TIniText {
  QStringList Lines;
  std::vector<TLineInfo> Info;  // parallel to Lines
  TIniEncoding Encoding = TIniEncoding::Utf8;
  QString Eol = kNativeEol;

  void SetText(const QString& text) {
    bool eolSeen = false;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
      const QChar c = text[i];
      if (c != u'\r' && c != u'\n') continue;
      Lines << text.mid(start, i - start);
      QString eol(c);
      if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
        eol = QStringLiteral("\r\n");
        ++i;
      }
      if (!eolSeen) { Eol = eol; eolSeen = true; }
      start = i + 1;
    }
    if (start < n) Lines << text.mid(start);
    Info.clear();
    Info.reserve(Lines.size());
    for (const QString& l : Lines) Info.push_back(Classify(l));
  }

  void Insert(qsizetype at, const QString& line) {
    Lines.insert(at, line);
    Info.insert(Info.begin() + at, Classify(line));
  }
  void Append(const QString& line) { Insert(Lines.size(), line); }
  void Remove(qsizetype at) {
    Lines.removeAt(at);
    Info.erase(Info.begin() + at);
  }
  void Replace(qsizetype at, const QString& line) {
    Lines[at] = line;
    Info[at] = Classify(line);
  }

  // Calls f(index) for every key line of the section, in file order.
  template <class F> void ForEachKey(const QString& section, F f) const {
    bool in = false;
    for (qsizetype i = 0; i < Lines.size(); ++i) {
      const TLineInfo& li = Info[i];
      if (li.Kind == TLineKind::Section) in = SameName(li.Name, section);
      else if (in && li.Kind == TLineKind::Key) f(i);
    }
  }

  qsizetype FindKey(const QString& section, const QString& ident) const {
    qsizetype found = -1;
    ForEachKey(section, [&](qsizetype i) {
      if (found < 0 && SameName(Info[i].Name, ident)) found = i;
    });
    return found;
  }

  QString ValueAt(qsizetype i) const {
    return QStringView(Lines[i]).mid(Info[i].Eq + 1).trimmed().toString();
  }

  QByteArray Encode() const {
    QString text = Lines.join(Eol);
    if (!Lines.isEmpty()) text += Eol;
    switch (Encoding) {
      case TIniEncoding::Utf8: return text.toUtf8();
      case TIniEncoding::Utf8Bom: return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
      case TIniEncoding::Utf16LE:
      case TIniEncoding::Utf16BE: {
        const bool le = Encoding == TIniEncoding::Utf16LE;
        QStringEncoder enc(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        QByteArray bom = le ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
        return bom + QByteArray(enc.encode(text));
      }
    }
    return text.toUtf8();
  }
};

void Decode(const QByteArray& bytes, TIniText& t) {
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
    const bool le = static_cast<unsigned char>(bytes[0]) == 0xFF;
    t.Encoding = le ? TIniEncoding::Utf16LE : TIniEncoding::Utf16BE;
    QStringDecoder dec(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    t.SetText(dec.decode(QByteArrayView(bytes).sliced(2)));
    return;
  }
  if (bytes.startsWith("\xEF\xBB\xBF")) {
    t.Encoding = TIniEncoding::Utf8Bom;
    t.SetText(QString::fromUtf8(QByteArrayView(bytes).sliced(3)));
    return;
  }
  // Plain text: UTF-8 when it is valid UTF-8, else Windows-1252, decided line by line (a file
  // shared with a program that writes ANSI may hold both). It is written back as UTF-8.
  t.Encoding = TIniEncoding::Utf8;
  QString text;
  text.reserve(bytes.size());
  const QByteArrayView all(bytes);
  qsizetype start = 0;
  while (start < all.size()) {
    qsizetype end = start;
    while (end < all.size() && all[end] != '\r' && all[end] != '\n') ++end;
    const QByteArrayView line = all.sliced(start, end - start);
    QStringDecoder dec(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = dec.decode(line);
    text += dec.hasError() ? DecodeCp1252(line) : decoded;
    // CR and LF are the same in both sets; they are kept for SetText to split on.
    while (end < all.size() && (all[end] == '\r' || all[end] == '\n')) text += QLatin1Char(all[end++]);
    start = end;
  }
  t.SetText(text);
}

// Reads the file. Returns false when it exists but cannot be read; a missing file is an
// empty text.
bool Load(const QString& path, TIniText& t) {
  const QFileInfo fi(path);
  if (!fi.exists()) return true;
  QFile f(path);
  if (fi.isDir() || !f.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return false;
  Decode(bytes, t);
  return true;
}

[[noreturn]] void RaiseWriteError(const QString& path) {
  throw EIniFileException(Format(QStringLiteral("nach %s kann nicht geschrieben werden"), {path}));
}

TIniText LoadForWrite(const QString& path) {
  TIniText t;
  // A file we cannot read must not be replaced by what little we know of it.
  if (!Load(path, t)) RaiseWriteError(path);
  return t;
}

void Save(const QString& path, const TIniText& t) {
  const QByteArray bytes = t.Encode();
  QSaveFile f(path);
  // When the folder forbids the temporary file but the file itself may be written, write it
  // in place rather than not at all.
  f.setDirectWriteFallback(true);
  if (!f.open(QIODevice::WriteOnly)) RaiseWriteError(path);
  // Qt 6.4's commit() does not notice an error of the final flush (a full disk, a file size
  // limit): it would rename a cut-off file over the old one. So flush first and look.
  if (f.write(bytes) != bytes.size() || !f.flush() || f.error() != QFileDevice::NoError) {
    f.cancelWriting();
    RaiseWriteError(path);
  }
  if (!f.commit()) RaiseWriteError(path);
}

QString OneLine(QString s) {
  s.replace(u'\r', u' ');
  s.replace(u'\n', u' ');
  return s;
}

QString Truncated(QString s) {
  if (s.size() > TIniFile::MaxValueLength) {
    qsizetype n = TIniFile::MaxValueLength;
    if (s[n - 1].isHighSurrogate()) --n;  // never split a surrogate pair
    s.truncate(n);
  }
  return s;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

TIniFile::TIniFile(const QString& FileName) : FFileName(FileName) {}

bool TIniFile::ParseInteger(const QString& s, int& value) {
  if (s.isEmpty()) return false;
  qsizetype hexStart = -1;
  if (s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) hexStart = 2;
  else if (s[0] == u'$' || s[0] == u'x' || s[0] == u'X') hexStart = 1;
  if (hexStart >= 0) {
    if (hexStart >= s.size()) return false;
    quint64 v = 0;
    for (qsizetype i = hexStart; i < s.size(); ++i) {
      const int d = HexDigit(s[i].unicode());
      if (d < 0) return false;
      v = v * 16 + d;
      if (v > 0xFFFFFFFFull) return false;
    }
    value = static_cast<int>(static_cast<quint32>(v));
    return true;
  }
  qsizetype i = 0;
  bool negative = false;
  if (s[0] == u'+' || s[0] == u'-') {
    negative = s[0] == u'-';
    i = 1;
  }
  if (i >= s.size()) return false;
  qint64 v = 0;
  for (; i < s.size(); ++i) {
    const char16_t c = s[i].unicode();
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + (c - u'0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident,
                             const QString& Default) const {
  TIniText t;
  if (!Load(FFileName, t)) return Truncated(Default);
  const qsizetype i = t.FindKey(Section.trimmed(), Ident.trimmed());
  return Truncated(i < 0 ? Default : t.ValueAt(i));
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const {
  int v = Default;
  if (!ParseInteger(ReadString(Section, Ident, QString()), v)) return Default;
  return v;
}

bool TIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
  const QString section = OneLine(Section).trimmed();
  const QString ident = OneLine(Ident).trimmed();
  const QString value = OneLine(Value);
  if (ident.isEmpty()) return;  // an empty key cannot be written in this format
  TIniText t = LoadForWrite(FFileName);
  const qsizetype at = t.FindKey(section, ident);
  if (at >= 0) {
    // New value in place; the key's spelling and the blanks after '=' stay.
    const QString& line = t.Lines[at];
    const qsizetype eq = t.Info[at].Eq;
    const QStringView rest = QStringView(line).mid(eq + 1);
    qsizetype blanks = 0;
    if (!rest.trimmed().isEmpty())
      while (blanks < rest.size() && rest[blanks].isSpace()) ++blanks;
    t.Replace(at, line.left(eq + 1 + blanks) + value);
  } else {
    // At the end of the section: after its last key, or right after its header.
    qsizetype insertAt = -1;
    bool in = false;
    for (qsizetype i = 0; i < t.Lines.size(); ++i) {
      const TLineInfo& li = t.Info[i];
      if (li.Kind == TLineKind::Section) {
        in = SameName(li.Name, section);
        if (in && insertAt < 0) insertAt = i + 1;
      } else if (in && li.Kind == TLineKind::Key) {
        insertAt = i + 1;
      }
    }
    if (insertAt >= 0) {
      t.Insert(insertAt, ident + u'=' + value);
    } else {
      if (!t.Lines.isEmpty() && !t.Lines.last().trimmed().isEmpty()) t.Append(QString());
      t.Append(u'[' + section + u']');
      t.Append(ident + u'=' + value);
    }
  }
  Save(FFileName, t);
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value) {
  WriteString(Section, Ident, QString::number(Value));
}

void TIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value) {
  WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

// The keys of a section in file order, each once (its first occurrence counts), as
// "Key" or with WithValues as "Key=Value".
void TIniFile::ReadKeys(const QString& Section, QStringList& Strings, bool WithValues) const {
  Strings.clear();
  TIniText t;
  if (!Load(FFileName, t)) return;
  QSet<QString> seen;
  t.ForEachKey(Section.trimmed(), [&](qsizetype i) {
    const QString& k = t.Info[i].Name;
    const QString folded = k.toCaseFolded();
    if (seen.contains(folded)) return;
    seen.insert(folded);
    Strings << (WithValues ? k + u'=' + Truncated(t.ValueAt(i)) : k);
  });
}

void TIniFile::ReadSection(const QString& Section, QStringList& Strings) const {
  ReadKeys(Section, Strings, false);
}

void TIniFile::ReadSections(QStringList& Strings) const {
  Strings.clear();
  TIniText t;
  if (!Load(FFileName, t)) return;
  QSet<QString> seen;
  for (const TLineInfo& li : t.Info) {
    if (li.Kind != TLineKind::Section) continue;
    const QString folded = li.Name.toCaseFolded();
    if (seen.contains(folded)) continue;
    seen.insert(folded);
    Strings << li.Name;
  }
}

void TIniFile::ReadSectionValues(const QString& Section, QStringList& Strings) const {
  ReadKeys(Section, Strings, true);
}

bool TIniFile::SectionExists(const QString& Section) const {
  TIniText t;
  if (!Load(FFileName, t)) return false;
  const QString section = Section.trimmed();
  for (const TLineInfo& li : t.Info)
    if (li.Kind == TLineKind::Section && SameName(li.Name, section)) return true;
  return false;
}

bool TIniFile::ValueExists(const QString& Section, const QString& Ident) const {
  TIniText t;
  if (!Load(FFileName, t)) return false;
  return t.FindKey(Section.trimmed(), Ident.trimmed()) >= 0;
}

void TIniFile::EraseSection(const QString& Section) {
  if (!QFileInfo::exists(FFileName)) return;
  TIniText t = LoadForWrite(FFileName);
  const QString section = Section.trimmed();
  bool in = false, changed = false, atEnd = false;
  for (qsizetype i = 0; i < t.Lines.size();) {
    const TLineInfo& li = t.Info[i];
    if (li.Kind == TLineKind::Section) in = SameName(li.Name, section);
    if (in) {
      t.Remove(i);
      changed = true;
      atEnd = i == t.Lines.size();
    } else {
      ++i;
    }
  }
  if (!changed) return;
  // A section removed from the end of the file takes the blank lines before it along.
  if (atEnd)
    while (!t.Lines.isEmpty() && t.Lines.last().trimmed().isEmpty()) t.Remove(t.Lines.size() - 1);
  Save(FFileName, t);
}

void TIniFile::DeleteKey(const QString& Section, const QString& Ident) {
  if (!QFileInfo::exists(FFileName)) return;
  TIniText t = LoadForWrite(FFileName);
  const QString section = Section.trimmed();
  const QString ident = Ident.trimmed();
  std::vector<qsizetype> doomed;
  t.ForEachKey(section, [&](qsizetype i) {
    if (SameName(t.Info[i].Name, ident)) doomed.push_back(i);
  });
  if (doomed.empty()) return;
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) t.Remove(*it);
  Save(FFileName, t);
}
