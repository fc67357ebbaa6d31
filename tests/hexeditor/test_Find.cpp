// Find and replace-all: the fast searches against the plain scan, the control's Find, and
// the bulk replace-all against replacing one match at a time.
#include <gtest/gtest.h>

#include <QByteArray>
#include <random>
#include <vector>

#include "hexeditor/EditorFixture.h"
#include "hexeditor/VXHFind.h"
#include "hexeditor/VXHUndoStorage.h"
#include "hexeditor/VXHexEditor.h"

namespace {

const uint8_t* U(const QByteArray& b) { return reinterpret_cast<const uint8_t*>(b.constData()); }

QByteArray RandomBytes(std::mt19937& rng, int size, const std::vector<uint8_t>& alphabet) {
  QByteArray b(size, Qt::Uninitialized);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  for (int i = 0; i < size; ++i) b[i] = static_cast<char>(alphabet[pick(rng)]);
  return b;
}

std::vector<uint8_t> AllBytes() {
  std::vector<uint8_t> v(256);
  for (int i = 0; i < 256; ++i) v[i] = static_cast<uint8_t>(i);
  return v;
}

// ------------------------------------------------------------------ pure searches

TEST(FindCore, FastSearchesAgreeWithThePlainScan) {
  std::mt19937 rng(4711);
  const TVXHFoldTable asIs = MakeFoldTable(tkAsIs), dos = MakeFoldTable(tkDos8);
  const TVXHFoldTable* folds[] = {nullptr, &asIs, &dos};
  const std::vector<std::vector<uint8_t>> alphabets = {
      {0x41, 0x42}, {0x41, 0x42, 0x61, 0x62}, {0x00, 0x8E, 0x84, 0xC4, 0xE4}, AllBytes()};
  for (int round = 0; round < 3000; ++round) {
    const auto& alphabet = alphabets[round % alphabets.size()];
    // Mostly small documents; some long enough to cross the folding blocks' edges.
    const int size = round % 50 == 0 ? 4096 * 3 + int(rng() % 9000) : int(rng() % 200);
    const QByteArray data = RandomBytes(rng, size, alphabet);
    int len = 1 + int(rng() % (round % 7 == 0 ? 90 : 6));
    QByteArray pattern;
    if (size > len && rng() % 2) pattern = data.mid(int(rng() % (size - len)), len);  // present somewhere
    else pattern = RandomBytes(rng, len, alphabet);
    if (rng() % 3 == 0) pattern.detach(), pattern[0] = static_cast<char>(alphabet[rng() % alphabet.size()]);
    const int start = int(rng() % (size + 3)) - 1;
    const int last = rng() % 4 == 0 ? size + int(rng() % 5) : int(rng() % (size + 2)) - 1;
    const TVXHFoldTable* fold = folds[rng() % 3];
    SCOPED_TRACE(testing::Message() << "round " << round << " size " << size << " len " << len << " start " << start
                                    << " last " << last);
    EXPECT_EQ(FastFind(U(data), size, U(pattern), len, start, last, fold),
              NaiveFind(U(data), size, U(pattern), len, start, last, fold));

    // Every match a replace-all meets, against repeating the scan behind each match.
    std::vector<int> expected;
    for (int p = std::max(0, start); (p = NaiveFind(U(data), size, U(pattern), len, p, size - 1, fold)) >= 0;
         p += len)
      expected.push_back(p);
    EXPECT_EQ(FindAllMatches(U(data), size, U(pattern), len, start, fold), expected);
  }
}

TEST(FindCore, MatchesAtEveryBlockEdgeOfTheFoldedSearch) {
  // The folded search works in blocks of 4096, 8192, ... bytes: a match straddling an edge
  // must be found, as must one that ends on the last byte.
  const QByteArray pattern("needle");
  for (int edge : {4096, 4096 + 8192, 4096 + 8192 + 16384}) {
    for (int shift = -5; shift <= 0; ++shift) {
      QByteArray data(edge + 100, 'x');
      data.replace(edge + shift, 6, "NEEDLE");
      const TVXHFoldTable fold = MakeFoldTable(tkAsIs);
      EXPECT_EQ(FastFind(U(data), data.size(), U(pattern), 6, 0, data.size() - 1, &fold), edge + shift);
      EXPECT_EQ(FastFind(U(data), data.size(), U(pattern), 6, 0, data.size() - 1, nullptr), -1);
      EXPECT_EQ(FastFind(U(data), edge + shift + 6, U(pattern), 6, 0, INT32_MAX, &fold), edge + shift);
      EXPECT_EQ(FastFind(U(data), data.size(), U(pattern), 6, 0, edge + shift + 4, &fold), -1);
    }
  }
}

TEST(FindCore, LongPatternInRepetitiveDataStaysCorrect) {
  // Nearly every position passes the first/last-byte filter here.
  QByteArray data(300000, 'a');
  QByteArray pattern(200, 'a');
  pattern[100] = 'b';
  EXPECT_EQ(FastFind(U(data), data.size(), U(pattern), 200, 0, data.size() - 1, nullptr), -1);
  data[250000] = 'b';
  EXPECT_EQ(FastFind(U(data), data.size(), U(pattern), 200, 0, data.size() - 1, nullptr), 249900);
}

TEST(FindCore, FoldTableLowersThroughTheTranslation) {
  const TVXHFoldTable asIs = MakeFoldTable(tkAsIs);
  EXPECT_EQ(asIs['A'], 'a');
  EXPECT_EQ(asIs['a'], 'a');
  EXPECT_EQ(asIs[0xC4], 0xE4);  // Ä
  EXPECT_EQ(asIs[0xD7], 0xD7);  // the multiplication sign has no small form
  EXPECT_EQ(asIs['1'], '1');
  const TVXHFoldTable dos = MakeFoldTable(tkDos8);
  EXPECT_EQ(dos[0x8E], 0x84);  // Ä -> ä in the OEM set
  EXPECT_EQ(dos['Z'], 'z');
}

TEST(FindCore, EveryFoldKernelFoldsLikeTheTable) {
  std::mt19937 rng(5);
  TVXHFoldTable table;
  for (uint8_t& v : table) v = static_cast<uint8_t>(rng());
  const QByteArray data = RandomBytes(rng, 1000, AllBytes());
  for (int kernel = 0; kernel <= 2; ++kernel) {
    if (!FoldKernelAvailable(kernel)) continue;
    for (int count : {0, 7, 31, 64, 65, 999}) {
      QByteArray out(count, '\0');
      FoldBuffer(table, U(data) + 1, reinterpret_cast<uint8_t*>(out.data()), count, kernel);
      for (int i = 0; i < count; ++i)
        ASSERT_EQ(uint8_t(out[i]), table[uint8_t(data[i + 1])]) << "kernel " << kernel << " at " << i;
    }
  }
}

TEST(FindCore, RewriteForReplaceBuildsWhatSplicingBuilds) {
  std::mt19937 rng(99);
  for (int round = 0; round < 2000; ++round) {
    const int size = int(rng() % 60);
    const int m = 1 + int(rng() % 4), n = int(rng() % 6);
    QByteArray data = RandomBytes(rng, size, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    std::vector<int> pos;
    for (int p = int(rng() % 4); p + m <= size; p += m + int(rng() % 5)) pos.push_back(p);
    const QByteArray repl = RandomBytes(rng, n, {0xAA, 0xBB});
    QByteArray expected;
    int from = 0;
    for (int p : pos) {
      expected += data.mid(from, p - from) + repl;
      from = p + m;
    }
    expected += data.mid(from);
    const qsizetype newSize = size + qsizetype(pos.size()) * (n - m);
    QByteArray buf = data;
    buf.resize(std::max<qsizetype>(size, newSize));
    RewriteForReplace(reinterpret_cast<uint8_t*>(buf.data()), size, pos.data(), pos.size(), m, U(repl), n);
    buf.resize(newSize);
    EXPECT_EQ(buf.toHex(' '), expected.toHex(' ')) << "round " << round;
  }
}

// ------------------------------------------------------------------ the control's Find

struct FindCase {
  const char* data;
  const char* pattern;
  int start, last;
  bool ignoreCase;
  int expected;
};

TEST(EditorFind, Cases) {
  const FindCase cases[] = {
      {"AAB", "AB", 0, 99, false, 1},        // the mismatch at the second byte resumes at 1
      {"xxAB", "AB", 0, 2, false, -1},       // would end after Last
      {"xxAB", "AB", 0, 3, false, 2},
      {"xxAB", "AB", 2, 99, false, 2},       // Start = size - length
      {"xxAB", "AB", 3, 99, false, -1},      // one further: cannot fit
      {"AB", "ab", 0, 99, true, 0},          // the document is lower-cased
      {"ab", "AB", 0, 99, true, -1},         // the pattern is not
      {"ab", "AB", 0, 99, false, -1},
      {"xAbab", "ab", 0, 99, false, 3},
      {"\xC4rger", "\xE4rger", 0, 99, true, 0},  // Ärger
      {"AB", "", 0, 99, false, -1},          // empty pattern
      {"", "A", 0, 99, false, -1},           // empty document
  };
  TCustomVXHexEditor ed;
  for (const FindCase& c : cases) {
    LoadBytes(ed, QByteArray(c.data));
    const QByteArray p(c.pattern);
    EXPECT_EQ(ed.Find(p.constData(), p.size(), c.start, c.last, c.ignoreCase), c.expected)
        << c.data << " / " << c.pattern;
  }
}

TEST(EditorFind, IgnoreCaseFollowsTheTranslation) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, QByteArray("\x8E\x99", 2));  // "ÄÖ" in the OEM set
  const QByteArray lower("\x84\x94", 2);     // "äö" in the OEM set
  EXPECT_EQ(ed.Find(lower.constData(), 2, 0, 99, true), -1);  // read as Windows text there is no Ä
  ed.SetTranslation(tkDos8);
  EXPECT_EQ(ed.Find(lower.constData(), 2, 0, 99, true), 0);
  QByteArray folded("\x8E\x99", 2);
  ed.FoldCase(reinterpret_cast<uint8_t*>(folded.data()), 2);
  EXPECT_EQ(folded, lower);
}

TEST(EditorFind, LeavesCaretSelectionDataAndCursorAlone) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(64));
  ed.SelectRange(3, 7);
  const Qt::CursorShape shape = ed.viewport()->cursor().shape();
  const uint8_t p[] = {40, 41};
  EXPECT_EQ(ed.Find(p, 2, 0, 63, false), 40);
  EXPECT_EQ(ed.SelLow(), 3);
  EXPECT_EQ(ed.SelHigh(), 7);
  EXPECT_EQ(ed.viewport()->cursor().shape(), shape);
  EXPECT_FALSE(ed.Modified());
}

// ------------------------------------------------------------------ replace all

class Probe : public TCustomVXHexEditor {
public:
  using TCustomVXHexEditor::FChangeMarks;
};

struct Snapshot {
  QByteArray data, undo;
  int records = 0;
  QString undoDescription;
  bool canRedo = false, modified = false, insertMode = false;
  int col = 0, row = 0, anchor = 0, low = 0, high = 0;
  std::vector<bool> marks;
  std::vector<std::pair<int, bool>> bookmarks;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(Probe& ed) {
  Snapshot s;
  s.data = QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), ed.DataSize());
  s.undo = QByteArray(reinterpret_cast<const char*>(ed.UndoStorage().Data()), ed.UndoStorage().Size());
  s.records = ed.UndoStorage().RecordCount();
  s.undoDescription = ed.UndoDescription();
  s.canRedo = ed.CanRedo();
  s.modified = ed.Modified();
  s.insertMode = ed.InsertMode();
  s.col = ed.Col();
  s.row = ed.Row();
  s.anchor = ed.SelAnchor();
  s.low = ed.SelLow();
  s.high = ed.SelHigh();
  s.marks = ed.FChangeMarks;
  for (int i = 0; i < 10; ++i) s.bookmarks.emplace_back(ed.Bookmark(i).Position, ed.Bookmark(i).InCharField);
  return s;
}

// Two editors brought into the same random state.
void Prepare(Probe& ed, std::mt19937 rng, const QByteArray& data) {
  const bool unicode = rng() % 6 == 0 && data.size() % 2 == 0;
  LoadBytes(ed, data);
  ed.SetMaxUndo(std::vector<int>{0, 60, 200, 1000, 1048576}[rng() % 5]);
  if (unicode) ed.SetUnicodeChars(true);
  else if (rng() % 3 == 0) ed.SetTranslation(tkDos8);
  const int size = data.size();
  for (int i = int(rng() % 4); i > 0 && size > 0; --i) {
    const int p = int(rng() % size);
    ed.ChangeByte(p, ed.GetByte(p), static_cast<uint8_t>(ed.GetByte(p) ^ 1), QString());
  }
  for (int i = 0; i < 10; ++i)
    if (rng() % 2) ed.ToggleBookmark(i, int(rng() % (size + 4)), rng() % 2);
  if (size > 0) {
    ed.SetSelectionStart(int(rng() % size));
    if (rng() % 2) ed.SetCaretInCharField(true);
  }
  if (rng() % 4 == 0) ed.SetInsertMode(true);
}

TEST(ReplaceAll, BulkPathLeavesWhatReplacingOneByOneLeaves) {
  std::mt19937 rng(2024);
  int bulkRuns = 0;
  for (int round = 0; round < 400; ++round) {
    const int size = 2 + int(rng() % 80);
    const QByteArray data = RandomBytes(rng, size, {0x41, 0x61, 0x42});
    const QByteArray pattern = RandomBytes(rng, 1 + int(rng() % 3), {0x61, 0x41, 0x42});
    const QByteArray repl = RandomBytes(rng, int(rng() % 5), {0x61, 0x7A, 0x42});
    const bool ignoreCase = rng() % 2;
    const unsigned seed = rng();
    Probe fast, slow;
    Prepare(fast, std::mt19937(seed), data);
    Prepare(slow, std::mt19937(seed), data);
    ASSERT_TRUE(Take(fast) == Take(slow));
    SCOPED_TRACE(testing::Message() << "round " << round << " data " << data.constData() << " pattern "
                                    << pattern.constData() << " repl " << repl.constData());

    const int a = fast.ReplaceAll(pattern.constData(), pattern.size(), repl.constData(), repl.size(), ignoreCase);
    const int b = slow.ReplaceAll(pattern.constData(), pattern.size(), repl.constData(), repl.size(), ignoreCase,
                                  0, false);
    EXPECT_EQ(a, b);
    if (a >= 3) ++bulkRuns;
    ASSERT_TRUE(Take(fast) == Take(slow)) << fast.DataSize() << " vs " << slow.DataSize();
    // Undo behaves the same, step by step, and so does redo.
    while (slow.CanUndo()) {
      slow.Undo();
      fast.Undo();
      ASSERT_TRUE(Take(fast) == Take(slow));
    }
    EXPECT_FALSE(fast.CanUndo());
    slow.Redo();
    fast.Redo();
    ASSERT_TRUE(Take(fast) == Take(slow));
  }
  EXPECT_GT(bulkRuns, 100);  // the bulk path really ran
}

TEST(ReplaceAll, GrowingReplacementIsNotSearchedAgain) {
  Probe ed;
  LoadBytes(ed, QByteArray(2, '\0'));
  const uint8_t zero[2] = {0, 0};
  EXPECT_EQ(ed.ReplaceAll(zero, 1, zero, 2, false), 2);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), ed.DataSize()), QByteArray(4, '\0'));
}

TEST(ReplaceAll, EmptyReplacementDeletesEveryMatch) {
  Probe ed;
  LoadBytes(ed, QByteArray("xAyAAzA"));
  EXPECT_EQ(ed.ReplaceAll("A", 1, nullptr, 0, false), 4);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), ed.DataSize()), QByteArray("xyz"));
  while (ed.CanUndo()) ed.Undo();
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), ed.DataSize()), QByteArray("xAyAAzA"));
}

TEST(ReplaceAll, RefusedDeletionStopsInsteadOfLoopingForEver) {
  Probe ed;
  LoadBytes(ed, QByteArray("AAA"));
  ed.SetNoSizeChange(true);
  EXPECT_EQ(ed.ReplaceAll("A", 1, nullptr, 0, false), 0);
  EXPECT_EQ(ed.DataSize(), 3);
  EXPECT_EQ(ed.ReplaceAll("A", 1, "b", 1, false), 3);  // same length is allowed
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), 3), QByteArray("bbb"));
}

TEST(ReplaceAll, SixteenBitCharacterFieldReplacesExactlyTheMatch) {
  // The caret cannot stand on an odd byte there; the selection must still be the match.
  Probe ed;
  LoadBytes(ed, QByteArray("0AB0"));
  ed.SetUnicodeChars(true);
  ed.SetCaretInCharField(true);
  ASSERT_TRUE(ed.CaretInCharField());
  EXPECT_EQ(ed.ReplaceAll("AB", 2, "x", 1, false), 1);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), ed.DataSize()), QByteArray("0x0"));
}

TEST(ReplaceAll, BookmarksBehindTheMatchesMove) {
  Probe ed;
  LoadBytes(ed, QByteArray("abXabXabXab"));
  ed.ToggleBookmark(0, 2, false);   // the first X
  ed.ToggleBookmark(1, 10, false);  // the last b
  ed.ToggleBookmark(2, 0, false);   // inside the first match
  EXPECT_EQ(ed.ReplaceAll("ab", 2, "Q", 1, false), 4);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), ed.DataSize()), QByteArray("QXQXQXQ"));
  EXPECT_EQ(ed.Bookmark(0).Position, 1);
  EXPECT_EQ(ed.Bookmark(1).Position, 7);
  EXPECT_EQ(ed.Bookmark(2).Position, 0);
}

}  // namespace
