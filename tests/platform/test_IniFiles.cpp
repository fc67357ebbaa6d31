#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/TempDir.h"
#include "platform/IniFiles.h"

namespace {

QString WriteError(const QString& path) {
  return QStringLiteral("nach ") + path + QStringLiteral(" kann nicht geschrieben werden");
}

// Runs f, expects EIniFileException and returns its message.
template <class F> QString RaisedMessage(F f) {
  try {
    f();
  } catch (const EIniFileException& e) {
    return e.Message();
  }
  return QStringLiteral("<no exception>");
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                QDir::Name);
}

}  // namespace

// ---------------------------------------------------------------------------- integer form

struct TIntCase {
  const char* Text;
  bool Ok;
  int Value;
};

class IniInteger : public ::testing::TestWithParam<TIntCase> {};

TEST_P(IniInteger, ParsesProfileIntegerForm) {
  const TIntCase& c = GetParam();
  int v = 12345;
  EXPECT_EQ(TIniFile::ParseInteger(QString::fromUtf8(c.Text), v), c.Ok) << c.Text;
  EXPECT_EQ(v, c.Ok ? c.Value : 12345) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniInteger,
    ::testing::Values(
        TIntCase{"0x20", true, 32}, TIntCase{"0X20", true, 32}, TIntCase{"$20", true, 32},
        TIntCase{"x20", true, 32}, TIntCase{"X1f", true, 31}, TIntCase{"$aBcD", true, 0xABCD},
        TIntCase{"$0000000010", true, 16},           // leading zeros do not count
        TIntCase{"$8000000F", true, -2147483633},    // clBtnFace, two's complement
        TIntCase{"$FFFFFFFF", true, -1}, TIntCase{"0x7FFFFFFF", true, 2147483647},
        TIntCase{"$100000000", false, 0},            // more than 32 bits
        TIntCase{"$", false, 0}, TIntCase{"0x", false, 0}, TIntCase{"x", false, 0},
        TIntCase{"$2G", false, 0}, TIntCase{"-$10", false, 0},  // no sign before a hex prefix
        TIntCase{"16", true, 16}, TIntCase{"-15", true, -15}, TIntCase{"+7", true, 7},
        TIntCase{"007", true, 7}, TIntCase{"0", true, 0}, TIntCase{"-0", true, 0},
        TIntCase{"2147483647", true, 2147483647}, TIntCase{"-2147483648", true, INT32_MIN},
        TIntCase{"-2147483633", true, -2147483633},
        TIntCase{"2147483648", false, 0}, TIntCase{"-2147483649", false, 0},
        TIntCase{"99999999999", false, 0}, TIntCase{"99999999999999999999999", false, 0},
        TIntCase{"abc", false, 0}, TIntCase{"ja", false, 0}, TIntCase{"12a", false, 0},
        TIntCase{"1 2", false, 0}, TIntCase{"1.5", false, 0}, TIntCase{"-", false, 0},
        TIntCase{"+", false, 0}, TIntCase{"", false, 0},
        TIntCase{"\xD9\xA3", false, 0}));  // an Arabic-Indic digit is no decimal digit

TEST(IniFile, ReadIntegerUsesDefaultForMissingEmptyAndBadValues) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "[S]\nhex=  0x20  \nbad=abc\nempty=\nbig=99999999999\nneg=-3\n"));
  EXPECT_EQ(ini.ReadInteger("S", "hex", 16), 32);
  EXPECT_EQ(ini.ReadInteger("S", "bad", 16), 16);
  EXPECT_EQ(ini.ReadInteger("S", "empty", 16), 16);
  EXPECT_EQ(ini.ReadInteger("S", "big", 16), 16);
  EXPECT_EQ(ini.ReadInteger("S", "neg", 16), -3);
  EXPECT_EQ(ini.ReadInteger("S", "missing", 16), 16);
  EXPECT_EQ(ini.ReadInteger("Other", "hex", 16), 16);
}

TEST(IniFile, BooleansAreIntegersAnyNonZeroTrue) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "[S]\nseven=7\nja=ja\nnull=0\nneg=-1\nhex=$10\n"));
  EXPECT_TRUE(ini.ReadBool("S", "seven", false));
  EXPECT_TRUE(ini.ReadBool("S", "ja", true));
  EXPECT_FALSE(ini.ReadBool("S", "ja", false));
  EXPECT_FALSE(ini.ReadBool("S", "null", true));
  EXPECT_TRUE(ini.ReadBool("S", "neg", false));
  EXPECT_TRUE(ini.ReadBool("S", "hex", false));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
  ini.WriteBool("S", "t", true);
  ini.WriteBool("S", "f", false);
  EXPECT_EQ(ini.ReadString("S", "t", "?"), "1");
  EXPECT_EQ(ini.ReadString("S", "f", "?"), "0");
}

TEST(IniFile, IntegersAreWrittenInDecimal) {
  TempDir d;
  const QString p = d.Path("a.ini");
  TIniFile ini(p);
  ini.WriteInteger("S", "colour", static_cast<int>(0x8000000Fu));
  ini.WriteInteger("S", "min", INT32_MIN);
  ini.WriteInteger("S", "n", 16);
  EXPECT_EQ(TempDir::Read(p), "[S]\ncolour=-2147483633\nmin=-2147483648\nn=16\n");
  EXPECT_EQ(ini.ReadInteger("S", "colour", 0), static_cast<int>(0x8000000Fu));
  EXPECT_EQ(ini.ReadInteger("S", "min", 0), INT32_MIN);
}

// ---------------------------------------------------------------------------- reading

TEST(IniFile, SectionsAndKeysIgnoreLetterCase) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "[editor]\nshowruler=0\n[Letzte Dateien]\nDatei_0=/tmp/x\n"));
  EXPECT_EQ(ini.ReadString("EDITOR", "ShowRuler", "?"), "0");
  EXPECT_EQ(ini.ReadString("letzte dateien", "DATEI_0", "?"), "/tmp/x");
  EXPECT_TRUE(ini.SectionExists("Editor"));
  EXPECT_TRUE(ini.ValueExists("EDITOR", "SHOWRULER"));
  EXPECT_FALSE(ini.ValueExists("EDITOR", "ShowRule"));
  EXPECT_FALSE(ini.SectionExists("EDITO"));
}

TEST(IniFile, ValuesAndNamesAreTrimmed) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "  [ S ]  \n\t Key \t=\t  a value with  inner blanks \t \n"
                                "quoted= \"x\" \n"));
  EXPECT_EQ(ini.ReadString("S", "Key", "?"), "a value with  inner blanks");
  EXPECT_EQ(ini.ReadString(" S ", " Key ", "?"), "a value with  inner blanks");
  EXPECT_EQ(ini.ReadString("S", "quoted", "?"), "\"x\"");  // quotes are not removed
}

TEST(IniFile, PresentEmptyValueIsEmptyNotDefault) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "[S]\nk=   \n"));
  EXPECT_EQ(ini.ReadString("S", "k", "def"), "");
  EXPECT_EQ(ini.ReadString("S", "missing", "def"), "def");
  EXPECT_TRUE(ini.ValueExists("S", "k"));
}

TEST(IniFile, ReadStringReturnsAtMost2047Characters) {
  TempDir d;
  const QByteArray longValue(5000, 'v');
  TIniFile ini(d.Write("a.ini", "[S]\nlong=" + longValue + "\nexact=" + QByteArray(2047, 'e') + "\n"));
  EXPECT_EQ(ini.ReadString("S", "long", "").size(), 2047);
  EXPECT_EQ(ini.ReadString("S", "long", ""), QString(2047, u'v'));
  EXPECT_EQ(ini.ReadString("S", "exact", ""), QString(2047, u'e'));
  EXPECT_EQ(ini.ReadString("S", "missing", QString(3000, u'd')).size(), 2047);
  QStringList values;
  ini.ReadSectionValues("S", values);
  ASSERT_EQ(values.size(), 2);
  EXPECT_EQ(values[0], "long=" + QString(2047, u'v'));
}

TEST(IniFile, LimitDoesNotSplitASurrogatePair) {
  TempDir d;
  const QString value = QString(2046, u'a') + QString::fromUtf8("\xF0\x9F\x98\x80") + "b";  // U+1F600
  TIniFile ini(d.Path("a.ini"));
  ini.WriteString("S", "k", value);
  EXPECT_EQ(ini.ReadString("S", "k", ""), QString(2046, u'a'));
}

TEST(IniFile, FirstEntryWinsAndRepeatedSectionsCountAsOne) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "[A]\nk=1\nK=2\n[B]\nk=b\n[a]\nm=3\nk=4\n"));
  EXPECT_EQ(ini.ReadString("A", "k", "?"), "1");
  EXPECT_EQ(ini.ReadString("A", "m", "?"), "3");
  QStringList keys;
  ini.ReadSection("A", keys);
  EXPECT_EQ(keys, QStringList({"k", "m"}));
  QStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections, QStringList({"A", "B"}));
}

TEST(IniFile, CommentsBlankLinesAndOrphanKeysAreNoEntries) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "top=0\n; comment=1\n[S]\n; note=2\n# hash=3\nno equals sign\n=nokey\n\nreal=4\n"));
  QStringList keys;
  ini.ReadSection("S", keys);
  EXPECT_EQ(keys, QStringList({"real"}));
  EXPECT_EQ(ini.ReadString("S", "top", "?"), "?");
  EXPECT_EQ(ini.ReadString("S", "; note", "?"), "?");
}

TEST(IniFile, ReadSectionListsKeysInFileOrder) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "[Letzte Dateien]\nDATEI_2=c\nDATEI_0=a\nDATEI_1=b\n[X]\ny=1\n"));
  QStringList keys{"stale"};
  ini.ReadSection("Letzte Dateien", keys);
  EXPECT_EQ(keys, QStringList({"DATEI_2", "DATEI_0", "DATEI_1"}));
  ini.ReadSectionValues("Letzte Dateien", keys);
  EXPECT_EQ(keys, QStringList({"DATEI_2=c", "DATEI_0=a", "DATEI_1=b"}));
  ini.ReadSection("Missing", keys);
  EXPECT_TRUE(keys.isEmpty());
}

TEST(IniFile, SectionWithoutKeysExists) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "[Empty]\n[Full]\nk=1\n"));
  EXPECT_TRUE(ini.SectionExists("Empty"));
  EXPECT_TRUE(ini.SectionExists("Full"));
  QStringList keys;
  ini.ReadSection("Empty", keys);
  EXPECT_TRUE(keys.isEmpty());
}

TEST(IniFile, MissingFileReadsAsEmptyAndIsNotCreated) {
  TempDir d;
  const QString p = d.Path("none.ini");
  TIniFile ini(p);
  EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("S", "k", 7), 7);
  EXPECT_FALSE(ini.SectionExists("S"));
  QStringList s;
  ini.ReadSections(s);
  EXPECT_TRUE(s.isEmpty());
  ini.EraseSection("S");
  ini.DeleteKey("S", "k");
  EXPECT_FALSE(QFileInfo::exists(p));
}

TEST(IniFile, FolderInPlaceOfTheFileReadsAsEmpty) {
  TempDir d;
  QDir().mkpath(d.Path("dir.ini"));
  TIniFile ini(d.Path("dir.ini"));
  EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
  EXPECT_EQ(RaisedMessage([&] { ini.WriteString("S", "k", "v"); }), WriteError(d.Path("dir.ini")));
}

TEST(IniFile, EveryCallSeesTheFileAsItIsNow) {
  TempDir d;
  const QString p = d.Write("a.ini", "[S]\nk=1\n");
  TIniFile ini(p);
  EXPECT_EQ(ini.ReadString("S", "k", ""), "1");
  d.Write("a.ini", "[S]\nk=2\n");
  EXPECT_EQ(ini.ReadString("S", "k", ""), "2");
  ini.WriteString("S", "j", "3");
  EXPECT_EQ(TempDir::Read(p), "[S]\nk=2\nj=3\n");
}

// ---------------------------------------------------------------------------- line ends, encodings

TEST(IniFile, ReadsCrLfLfAndCrLineEnds) {
  TempDir d;
  TIniFile ini(d.Write("a.ini", "[S]\r\na=1\r\nb=2\nc=3\rd=4"));
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "1");
  EXPECT_EQ(ini.ReadString("S", "b", "?"), "2");
  EXPECT_EQ(ini.ReadString("S", "c", "?"), "3");
  EXPECT_EQ(ini.ReadString("S", "d", "?"), "4");
}

TEST(IniFile, WriteKeepsTheFilesLineEnd) {
  TempDir d;
  const QString crlf = d.Write("crlf.ini", "[S]\r\na=1\r\n");
  TIniFile(crlf).WriteString("S", "b", "2");
  EXPECT_EQ(TempDir::Read(crlf), "[S]\r\na=1\r\nb=2\r\n");
  const QString cr = d.Write("cr.ini", "[S]\ra=1");  // no line end after the last line
  TIniFile(cr).WriteString("T", "b", "2");
  EXPECT_EQ(TempDir::Read(cr), "[S]\ra=1\r\r[T]\rb=2\r");
  const QString mixed = d.Write("mixed.ini", "[S]\na=1\r\nb=2\r\n");
  TIniFile(mixed).WriteString("S", "a", "9");
  EXPECT_EQ(TempDir::Read(mixed), "[S]\na=9\nb=2\n");
}

TEST(IniFile, NewFileUsesThePlatformLineEnd) {
  TempDir d;
  const QString p = d.Path("a.ini");
  TIniFile(p).WriteString("S", "k", "v");
#ifdef Q_OS_WIN
  EXPECT_EQ(TempDir::Read(p), "[S]\r\nk=v\r\n");
#else
  EXPECT_EQ(TempDir::Read(p), "[S]\nk=v\n");
#endif
}

TEST(IniFile, Utf8RoundTrip) {
  TempDir d;
  const QString p = d.Path("a.ini");
  TIniFile ini(p);
  const QString path = QString::fromUtf8("/home/jürgen/Größe €.bin");
  ini.WriteString("Letzte Dateien", "DATEI_0", path);
  EXPECT_EQ(TempDir::Read(p), "[Letzte Dateien]\nDATEI_0=" + path.toUtf8() + "\n");
  EXPECT_EQ(ini.ReadString("Letzte Dateien", "DATEI_0", ""), path);
  EXPECT_EQ(ini.ReadString(QString::fromUtf8("LETZTE DATEIEN"), "datei_0", ""), path);
}

TEST(IniFile, InvalidUtf8IsReadAsWindows1252AndWrittenBackAsUtf8) {
  TempDir d;
  const QString p = d.Write("a.ini", "[S]\nk=C:\\M\xFCll \x80\x96\x81\n");
  TIniFile ini(p);
  const QString expected = QString::fromUtf8("C:\\Müll €–\xC2\x81");
  EXPECT_EQ(ini.ReadString("S", "k", ""), expected);
  ini.WriteString("S", "j", "1");
  EXPECT_EQ(TempDir::Read(p), "[S]\nk=" + expected.toUtf8() + "\nj=1\n");
  EXPECT_EQ(ini.ReadString("S", "k", ""), expected);
}

TEST(IniFile, Utf8AndWindows1252LinesMayBeMixed) {
  TempDir d;
  const QString p = d.Write("a.ini", "[S]\r\nutf8=M\xC3\xBCll\r\nansi=M\xFCll\r\n\r\nlast=\xE4");
  TIniFile ini(p);
  EXPECT_EQ(ini.ReadString("S", "utf8", ""), QString::fromUtf8("Müll"));
  EXPECT_EQ(ini.ReadString("S", "ansi", ""), QString::fromUtf8("Müll"));
  EXPECT_EQ(ini.ReadString("S", "last", ""), QString::fromUtf8("ä"));
  ini.DeleteKey("S", "last");
  EXPECT_EQ(TempDir::Read(p), "[S]\r\nutf8=M\xC3\xBCll\r\nansi=M\xC3\xBCll\r\n\r\n");
}

TEST(IniFile, ByteOrderMarksAreKept) {
  TempDir d;
  const QString bom = d.Write("bom.ini", "\xEF\xBB\xBF[S]\nk=\xC3\xA4\n");
  TIniFile ini(bom);
  EXPECT_EQ(ini.ReadString("S", "k", ""), QString::fromUtf8("ä"));
  QStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections, QStringList({"S"}));
  ini.WriteString("S", "j", "1");
  EXPECT_EQ(TempDir::Read(bom), "\xEF\xBB\xBF[S]\nk=\xC3\xA4\nj=1\n");

  const QString text = QString::fromUtf8("[S]\r\nk=ä\r\n");
  QByteArray utf16("\xFF\xFE", 2);
  utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  const QString p16 = d.Write("utf16.ini", utf16);
  TIniFile ini16(p16);
  EXPECT_EQ(ini16.ReadString("S", "k", ""), QString::fromUtf8("ä"));
  ini16.WriteString("S", "k", QString::fromUtf8("ö"));
  const QString after = QString::fromUtf8("[S]\r\nk=ö\r\n");
  QByteArray expected("\xFF\xFE", 2);
  expected.append(reinterpret_cast<const char*>(after.utf16()), after.size() * 2);
  EXPECT_EQ(TempDir::Read(p16), expected);
}

// ---------------------------------------------------------------------------- writing

TEST(IniFile, WriteReplacesAnExistingValueInPlace) {
  TempDir d;
  const QString p = d.Write("a.ini", "; head\n[A]\nx=1\n  Y = 2  \nz=3\n[B]\nx=b\n");
  TIniFile ini(p);
  ini.WriteString("a", "X", "10");
  ini.WriteString("A", "y", "20");
  EXPECT_EQ(TempDir::Read(p), "; head\n[A]\nx=10\n  Y = 20\nz=3\n[B]\nx=b\n");
}

TEST(IniFile, NewKeyGoesAtTheEndOfItsSection) {
  TempDir d;
  const QString p = d.Write("a.ini", "[A]\nx=1\n; about B\n\n[B]\ny=2\n");
  TIniFile ini(p);
  ini.WriteString("A", "z", "3");
  ini.WriteString("B", "w", "4");
  EXPECT_EQ(TempDir::Read(p), "[A]\nx=1\nz=3\n; about B\n\n[B]\ny=2\nw=4\n");
}

TEST(IniFile, NewKeyInAnEmptySectionFollowsItsHeader) {
  TempDir d;
  const QString p = d.Write("a.ini", "[A]\n\n[B]\ny=2\n");
  TIniFile(p).WriteString("A", "k", "v");
  EXPECT_EQ(TempDir::Read(p), "[A]\nk=v\n\n[B]\ny=2\n");
}

TEST(IniFile, MissingSectionIsAddedAtTheEnd) {
  TempDir d;
  const QString p = d.Write("a.ini", "[A]\nx=1\n");
  TIniFile ini(p);
  ini.WriteString("Letzte Ordner", "ORDNER_0", "/tmp");
  ini.WriteString("Letzte Ordner", "ORDNER_1", "/home");
  EXPECT_EQ(TempDir::Read(p), "[A]\nx=1\n\n[Letzte Ordner]\nORDNER_0=/tmp\nORDNER_1=/home\n");
  const QString blankEnd = d.Write("b.ini", "[A]\nx=1\n\n");
  TIniFile(blankEnd).WriteString("B", "k", "v");
  EXPECT_EQ(TempDir::Read(blankEnd), "[A]\nx=1\n\n[B]\nk=v\n");
}

TEST(IniFile, WriteKeepsEverythingElse) {
  TempDir d;
  const QByteArray before =
      "; ZQ HEXEditor settings\n"
      "orphan=1\n"
      "[EDITOR]\n"
      "Unknown=kept\n"
      "ShowRuler=1\n"
      "   # indented comment\n"
      "junk line without equals\n"
      "\n"
      "[Foreign Section]\n"
      "a = b = c\n";
  const QString p = d.Write("a.ini", before);
  TIniFile ini(p);
  ini.WriteBool("EDITOR", "ShowRuler", false);
  QByteArray expected = before;
  expected.replace("ShowRuler=1", "ShowRuler=0");
  EXPECT_EQ(TempDir::Read(p), expected);
  EXPECT_EQ(ini.ReadString("Foreign Section", "a", ""), "b = c");
}

TEST(IniFile, LineBreaksInWrittenTextBecomeBlanks) {
  TempDir d;
  const QString p = d.Path("a.ini");
  TIniFile ini(p);
  ini.WriteString("S", "k", "one\ntwo\r\nthree");
  ini.WriteString("S\n[Evil]", "k2\nx", "v");
  EXPECT_EQ(TempDir::Read(p), "[S]\nk=one two  three\n\n[S [Evil]]\nk2 x=v\n");
  QStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections, QStringList({"S", "S [Evil]"}));
  EXPECT_EQ(ini.ReadString("S [Evil]", "k2 x", ""), "v");
}

TEST(IniFile, EmptyKeyIsNotWritten) {
  TempDir d;
  const QString p = d.Path("a.ini");
  TIniFile(p).WriteString("S", "  ", "v");
  EXPECT_FALSE(QFileInfo::exists(p));
}

TEST(IniFile, EraseSectionRemovesItWhole) {
  TempDir d;
  const QString p = d.Write("a.ini",
                            "[EDITOR]\nk=1\n\n[Letzte Dateien]\nDATEI_0=a\n; c\nDATEI_1=b\n\n"
                            "[Letzte Ordner]\nORDNER_0=/x\n");
  TIniFile ini(p);
  ini.EraseSection("letzte dateien");
  EXPECT_EQ(TempDir::Read(p), "[EDITOR]\nk=1\n\n[Letzte Ordner]\nORDNER_0=/x\n");
  ini.EraseSection("Letzte Ordner");
  EXPECT_EQ(TempDir::Read(p), "[EDITOR]\nk=1\n");
  ini.EraseSection("Letzte Ordner");  // missing: nothing happens
  EXPECT_EQ(TempDir::Read(p), "[EDITOR]\nk=1\n");
  EXPECT_FALSE(ini.SectionExists("Letzte Ordner"));
  // Writing the list again after erasing it gives the same layout as before.
  ini.WriteString("Letzte Ordner", "ORDNER_0", "/y");
  EXPECT_EQ(TempDir::Read(p), "[EDITOR]\nk=1\n\n[Letzte Ordner]\nORDNER_0=/y\n");
}

TEST(IniFile, EraseSectionRemovesEveryPartOfARepeatedSection) {
  TempDir d;
  const QString p = d.Write("a.ini", "[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n[C]\n");
  TIniFile ini(p);
  ini.EraseSection("A");
  EXPECT_EQ(TempDir::Read(p), "[B]\ny=2\n[C]\n");
}

TEST(IniFile, DeleteKeyRemovesTheKeyOnly) {
  TempDir d;
  const QString p = d.Write("a.ini", "[A]\nx=1\ny=2\nX=3\n[B]\nx=4\n");
  TIniFile ini(p);
  ini.DeleteKey("A", "x");
  EXPECT_EQ(TempDir::Read(p), "[A]\ny=2\n[B]\nx=4\n");
  ini.DeleteKey("A", "missing");
  EXPECT_EQ(TempDir::Read(p), "[A]\ny=2\n[B]\nx=4\n");
  EXPECT_FALSE(ini.ValueExists("A", "x"));
}

TEST(IniFile, WriteLeavesNoTemporaryFilesAndKeepsPermissions) {
  TempDir d;
  const QString p = d.Write("a.ini", "[S]\nk=1\n");
  ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), 0640), 0);
  TIniFile ini(p);
  for (int i = 0; i < 20; ++i) ini.WriteInteger("S", QStringLiteral("k%1").arg(i), i);
  ini.EraseSection("S");
  EXPECT_EQ(Entries(QFileInfo(p).path()), QStringList({"a.ini"}));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(p).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(IniFile, SymbolicLinkIsFollowedNotReplaced) {
  TempDir d;
  const QString target = d.Write("real.ini", "[S]\nk=1\n");
  const QString link = d.Path("link.ini");
  ASSERT_TRUE(QFile::link(target, link));
  TIniFile(link).WriteString("S", "k", "2");
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(TempDir::Read(target), "[S]\nk=2\n");
}

// ---------------------------------------------------------------------------- write failures

TEST(IniFile, WriteIntoAMissingFolderRaises) {
  TempDir d;
  const QString p = d.Path("no such folder/settings.ini");
  TIniFile ini(p);
  EXPECT_EQ(RaisedMessage([&] { ini.WriteString("EDITOR", "k", "v"); }), WriteError(p));
  EXPECT_EQ(RaisedMessage([&] { ini.WriteInteger("EDITOR", "k", 1); }), WriteError(p));
  EXPECT_EQ(RaisedMessage([&] { ini.WriteBool("EDITOR", "k", true); }), WriteError(p));
  EXPECT_FALSE(QFileInfo::exists(d.Path("no such folder")));
}

TEST(IniFile, WriteBelowARegularFileRaisesAndLeavesItAlone) {
  TempDir d;
  const QByteArray old = "[S]\nk=1\n";
  const QString file = d.Write("old.ini", old);
  const QString p = file + "/settings.ini";
  TIniFile ini(p);
  EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
  EXPECT_EQ(RaisedMessage([&] { ini.WriteString("S", "k", "2"); }), WriteError(p));
  EXPECT_EQ(TempDir::Read(file), old);
  EXPECT_EQ(Entries(d.Path("")), QStringList({"old.ini"}));
}

// A full disk: the file size limit makes the write of the temporary file fail (for root too).
TEST(IniFile, FailedWriteLeavesTheOldFileAsItWas) {
  TempDir d;
  const QByteArray old = "[S]\nk=1\n";
  const QString p = d.Write("a.ini", old);
  TIniFile ini(p);
  QString message;
  {
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    message = RaisedMessage([&] { ini.WriteString("S", "k", QString(500, u'x')); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
  }
  EXPECT_EQ(message, WriteError(p));
  EXPECT_EQ(TempDir::Read(p), old);
  EXPECT_EQ(Entries(d.Path("")), QStringList({"a.ini"}));
}

TEST(IniFile, ReadOnlyFileRaisesAndStaysUnchanged) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempDir d;
  const QByteArray old = "[S]\nk=1\n";
  const QString p = d.Write("a.ini", old);
  ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), 0444), 0);
  TIniFile ini(p);
  EXPECT_EQ(RaisedMessage([&] { ini.WriteString("S", "k", "2"); }), WriteError(p));
  EXPECT_EQ(RaisedMessage([&] { ini.EraseSection("S"); }), WriteError(p));
  EXPECT_EQ(TempDir::Read(p), old);
}

TEST(IniFile, UnreadableFileIsNeverOverwritten) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempDir d;
  const QString p = d.Write("a.ini", "[S]\nk=1\n");
  ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), 0200), 0);
  TIniFile ini(p);
  EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
  EXPECT_EQ(RaisedMessage([&] { ini.WriteString("S", "j", "2"); }), WriteError(p));
  ::chmod(QFile::encodeName(p).constData(), 0600);
  EXPECT_EQ(TempDir::Read(p), "[S]\nk=1\n");
}
