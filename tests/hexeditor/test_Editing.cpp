// Editing operations and undo against a plain byte vector, then the rules that matter.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <random>

#include "EditorFixture.h"
#include "hexeditor/VXHUndoStorage.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Doc(const TCustomVXHexEditor& ed) { return Bytes(ed.DataPointer(), ed.DataPointer() + ed.DataSize()); }

Bytes CountingBytes(int n) {
  Bytes b(n);
  for (int i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i);
  return b;
}

Bytes Nibbles(const Bytes& b) {
  Bytes n;
  for (uint8_t x : b) {
    n.push_back(x >> 4);
    n.push_back(x & 15);
  }
  return n;
}

Bytes FromNibbles(const Bytes& n) {
  Bytes b(n.size() / 2);
  for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(n[2 * i] << 4 | n[2 * i + 1]);
  return b;
}

std::string Hex(const Bytes& b) {
  std::string s;
  char buf[4];
  for (uint8_t x : b) {
    snprintf(buf, sizeof buf, "%02X ", x);
    s += buf;
  }
  if (!s.empty()) s.pop_back();
  return s;
}

void Load(TCustomVXHexEditor& ed, const Bytes& b) {
  LoadBytes(ed, QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<int>(b.size())));
}

// Applies one random operation to both; returns a short name for failure messages.
std::string Step(TCustomVXHexEditor& ed, Bytes& model, std::mt19937& rng) {
  auto rnd = [&](int n) { return n <= 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const int size = static_cast<int>(model.size());
  Bytes buf(1 + rnd(6));
  for (auto& x : buf) x = static_cast<uint8_t>(rng());
  const int n = static_cast<int>(buf.size());
  switch (rnd(10)) {
    case 0:
      if (size > 0) {
        const int p = rnd(size);
        ed.ChangeByte(p, model[p], buf[0], QString());
        model[p] = buf[0];
        return "ChangeByte " + std::to_string(p);
      }
      [[fallthrough]];
    case 1:
      if (size > 1) {
        const int p = rnd(size - 1);
        const uint16_t old = static_cast<uint16_t>(model[p] | model[p + 1] << 8);
        ed.ChangeWord(p, old, static_cast<uint16_t>(buf[0] | buf[n - 1] << 8), QString());
        model[p] = buf[0];
        model[p + 1] = buf[n - 1];
        return "ChangeWord " + std::to_string(p);
      }
      [[fallthrough]];
    case 2: {
      const int p = rnd(size + 1);
      ed.InsertBuffer(buf.data(), n, p, QString(), rnd(2) == 0);
      model.insert(model.begin() + p, buf.begin(), buf.end());
      return "InsertBuffer " + std::to_string(p) + "+" + std::to_string(n);
    }
    case 3:
      ed.AppendBuffer(buf.data(), n, QString(), rnd(2) == 0);
      model.insert(model.end(), buf.begin(), buf.end());
      return "AppendBuffer " + std::to_string(n);
    case 4:
      if (size > 0) {
        int a = rnd(size), b = rnd(size);
        ed.SelectRange(a, b);
        const int lo = ed.SelLow(), hi = ed.SelHigh();
        ed.ReplaceSelection(buf.data(), n, QString(), rnd(2) == 0);
        model.erase(model.begin() + lo, model.begin() + hi + 1);
        model.insert(model.begin() + lo, buf.begin(), buf.end());
        return "ReplaceSelection " + std::to_string(lo) + ".." + std::to_string(hi);
      }
      return "-";
    case 5:
      if (size > 0) {
        const int p = rnd(size);
        const int oldCount = rnd(size - p + 1);
        const int newCount = rnd(2) == 0 ? oldCount : n;
        Bytes src(std::max(newCount, 1));
        for (auto& x : src) x = static_cast<uint8_t>(rng());
        const int written = ed.OverwriteBuffer(src.data(), p, oldCount, newCount, QString(), rnd(2) == 0);
        if (written >= 0) {
          model.erase(model.begin() + p, model.begin() + p + oldCount);
          model.insert(model.begin() + p, src.begin(), src.begin() + newCount);
        }
        return "OverwriteBuffer " + std::to_string(p) + " " + std::to_string(oldCount) + "->" +
               std::to_string(newCount);
      }
      return "-";
    case 6:
      if (size > 0) {
        int a = rnd(size), b = rnd(size);
        ed.SelectRange(a, b);
        const int lo = ed.SelLow(), hi = ed.SelHigh();
        ed.DeleteSelection(QString());
        model.erase(model.begin() + lo, model.begin() + hi + 1);
        return "DeleteSelection " + std::to_string(lo) + ".." + std::to_string(hi);
      }
      return "-";
    case 7:
      if (size > 0) {
        const int p = rnd(size);
        ed.Seek(p, 0);
        const bool back = rnd(2) == 0;
        ed.DeleteAtCaret(back, QString());
        if (back && p > 0) model.erase(model.begin() + p - 1);
        if (!back) model.erase(model.begin() + p);
        return std::string(back ? "Backspace " : "Delete ") + std::to_string(p);
      }
      return "-";
    case 8:
    case 9: {
      const bool insert = rnd(10) < 8 - (size > 30 ? 5 : 0) || size == 0;
      const int p = rnd(size);
      const bool high = rnd(2) == 0;
      if (insert) {
        ed.InsertNibble(p, high, QString());
        if (size == 0) {
          model.push_back(0);
        } else {
          Bytes nib = Nibbles(model);
          nib.insert(nib.begin() + 2 * p + (high ? 0 : 1), 0);
          nib.push_back(0);
          model = FromNibbles(nib);
        }
        return "InsertNibble " + std::to_string(p) + (high ? "H" : "L");
      }
      ed.DeleteNibble(p, high, QString());
      Bytes nib = Nibbles(model);
      nib.erase(nib.begin() + 2 * p + (high ? 0 : 1));
      nib.push_back(0);
      model = FromNibbles(nib);
      return "DeleteNibble " + std::to_string(p) + (high ? "H" : "L");
    }
  }
  return "-";
}

}  // namespace

TEST(EditingModel, RandomSequencesMatchTheModelAndUndoToTheOriginal) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    TCustomVXHexEditor ed;
    ed.SetMaxUndo(0);  // keep every step
    Bytes original(rng() % 40);
    for (auto& x : original) x = static_cast<uint8_t>(rng());
    Load(ed, original);
    if (seed % 2 == 0) ed.SetInsertMode(true);

    Bytes model = original;
    std::vector<Bytes> history{model};
    std::vector<std::string> ops;
    for (int step = 0; step < 30; ++step) {
      const Bytes before = model;
      const std::string op = Step(ed, model, rng);
      if (op == "-") continue;
      ops.push_back(op);
      ASSERT_EQ(Hex(Doc(ed)), Hex(model)) << "seed " << seed << " step " << step << " " << op;
      if (model != before) history.push_back(model);
      // Now and then: undo, check, redo, check.
      if (model != before && rng() % 4 == 0) {
        ed.Undo();
        ASSERT_EQ(Hex(Doc(ed)), Hex(before)) << "undo of " << op << " seed " << seed;
        ASSERT_TRUE(ed.CanRedo());
        ed.Redo();
        ASSERT_EQ(Hex(Doc(ed)), Hex(model)) << "redo of " << op << " seed " << seed;
      }
    }
    while (ed.CanUndo()) ed.Undo();
    ASSERT_EQ(Hex(Doc(ed)), Hex(original)) << "seed " << seed << ", after " << ops.size() << " steps";
  }
}

// ---------------------------------------------------------------- focused cases

class Editing : public ::testing::Test {
protected:
  TCustomVXHexEditor ed;
  void SetUp() override { LoadBytes(ed, Counting(32)); }
  Bytes Bytes_() const { return Doc(ed); }
};

TEST_F(Editing, ChangeByteRecordsMarksAndModifies) {
  ed.ChangeByte(3, 3, 3, QString());
  EXPECT_FALSE(ed.CanUndo());
  EXPECT_FALSE(ed.Modified());
  ed.ChangeByte(3, 3, 0xAA, QString());
  EXPECT_EQ(ed.GetByte(3), 0xAA);
  EXPECT_TRUE(ed.HasChanged(3));
  EXPECT_FALSE(ed.HasChanged(4));
  EXPECT_TRUE(ed.Modified());
  EXPECT_EQ(ed.UndoDescription(), QStringLiteral("Ändere Byte(s)"));
  ed.Undo();
  EXPECT_EQ(ed.GetByte(3), 3);
  EXPECT_FALSE(ed.HasChanged(3));
  EXPECT_FALSE(ed.Modified());
}

TEST_F(Editing, ChangeWordMarksOnlyTheBytesThatDiffer) {
  ed.ChangeWord(4, 0x0504, 0x0599, QString());
  EXPECT_EQ(ed.GetByte(4), 0x99);
  EXPECT_EQ(ed.GetByte(5), 0x05);
  EXPECT_TRUE(ed.HasChanged(4));
  EXPECT_FALSE(ed.HasChanged(5));
}

TEST_F(Editing, InsertSelectsTheNewBytesWithTheCaretOnTheLast) {
  const uint8_t b[3] = {0xA, 0xB, 0xC};
  ed.InsertBuffer(b, 3, 5, QString(), true);
  EXPECT_EQ(ed.SelAnchor(), 5);
  EXPECT_EQ(ed.SelLow(), 5);
  EXPECT_EQ(ed.SelHigh(), 7);
  EXPECT_EQ(ed.CaretPosition(), 7);
  ed.AppendBuffer(b, 2, QString(), true);
  EXPECT_EQ(ed.CaretPosition(), 35);
  EXPECT_EQ(ed.SelLow(), 35);
  EXPECT_EQ(ed.SelHigh(), 36);
  EXPECT_EQ(ed.DataSize(), 37);
}

TEST_F(Editing, ReplaceSelectionPutsTheAnchorOnTheLastNewByte) {
  ed.SelectRange(2, 6);
  const uint8_t b[2] = {0xEE, 0xFF};
  ed.ReplaceSelection(b, 2, QString(), true);
  EXPECT_EQ(ed.DataSize(), 29);
  EXPECT_EQ(ed.GetByte(2), 0xEE);
  EXPECT_EQ(ed.GetByte(4), 7);
  EXPECT_EQ(ed.SelAnchor(), 3);
  EXPECT_EQ(ed.SelLow(), 2);
  EXPECT_EQ(ed.SelHigh(), 3);
}

TEST_F(Editing, NoSizeChangeRefusesResizingAndClipsReplacements) {
  ed.SetNoSizeChange(true);
  const uint8_t b[4] = {0xA1, 0xA2, 0xA3, 0xA4};
  ed.InsertBuffer(b, 4, 0, QString(), true);
  ed.AppendBuffer(b, 4, QString(), true);
  ed.Seek(3, 0);
  ed.DeleteAtCaret(false, QString());
  ed.DeleteAtCaret(true, QString());
  ed.DeleteSelection(QString());
  EXPECT_FALSE(ed.InsertNibble(2, true, QString()));
  EXPECT_FALSE(ed.DeleteNibble(2, true, QString()));
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), 32), Counting(32));
  EXPECT_EQ(ed.DataSize(), 32);
  EXPECT_FALSE(ed.CanUndo());

  ed.SelectRange(10, 11);  // more bytes than selected: only two are written
  ed.ReplaceSelection(b, 4, QString(), true);
  EXPECT_EQ(ed.DataSize(), 32);
  EXPECT_EQ(ed.GetByte(10), 0xA1);
  EXPECT_EQ(ed.GetByte(11), 0xA2);
  EXPECT_EQ(ed.GetByte(12), 12);
  ed.SelectRange(20, 25);  // fewer: only the first bytes of the selection change
  ed.ReplaceSelection(b, 2, QString(), true);
  EXPECT_EQ(ed.DataSize(), 32);
  EXPECT_EQ(ed.GetByte(20), 0xA1);
  EXPECT_EQ(ed.GetByte(21), 0xA2);
  EXPECT_EQ(ed.GetByte(22), 22);
}

TEST(EditingEmpty, OnlyInsertionsWorkOnAnEmptyDocument) {
  TCustomVXHexEditor ed;
  const uint8_t b[2] = {1, 2};
  ed.ChangeByte(0, 0, 1, QString());
  ed.DeleteSelection(QString());
  ed.DeleteAtCaret(false, QString());
  EXPECT_FALSE(ed.DeleteNibble(0, true, QString()));
  EXPECT_EQ(ed.Seek(0, 0), -1);
  EXPECT_EQ(ed.DataSize(), 0);
  EXPECT_FALSE(ed.CanUndo());
  EXPECT_TRUE(ed.InsertNibble(0, true, QString()));
  EXPECT_EQ(Doc(ed), Bytes({0}));
  ed.Undo();
  ed.ReplaceSelection(b, 2, QString(), true);  // inserts at the caret
  EXPECT_EQ(Doc(ed), Bytes({1, 2}));
}

TEST_F(Editing, DeleteAtCaretWorksInUnits) {
  ed.SetBytesPerUnit(4);
  ed.Seek(6, 0);
  ed.DeleteAtCaret(false, QString());
  EXPECT_EQ(ed.DataSize(), 28);
  EXPECT_EQ(ed.GetByte(4), 8);
  ed.Undo();
  ed.SetInsertMode(true);
  ed.Seek(6, 0);
  ed.DeleteAtCaret(true, QString());
  EXPECT_EQ(ed.DataSize(), 28);
  EXPECT_EQ(ed.GetByte(0), 4);
}

TEST(EditingUnits, BackspaceAtTheEndOfAnUnevenDocumentTakesOneByte) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(10));
  ed.SetBytesPerUnit(4);
  ed.SetInsertMode(true);
  const TGridCoord end = ed.PositionToCell(10, false);
  ed.MoveCurrentCell(end.X, end.Y, true);
  ASSERT_EQ(ed.CellToPosition(ed.Col(), ed.Row()), 10);
  ed.DeleteAtCaret(true, QString());
  EXPECT_EQ(Doc(ed), CountingBytes(9));
}

TEST(EditingNibbles, HalfByteShiftsMatchTheExamples) {
  const struct {
    bool Insert, High;
    int Position;
    Bytes Expected;
  } cases[] = {
      {true, false, 0, {0x10, 0x23, 0x40}}, {true, true, 0, {0x01, 0x23, 0x40}},
      {false, true, 0, {0x23, 0x40}},       {false, false, 0, {0x13, 0x40}},
      {false, false, 1, {0x12, 0x30}},      {false, true, 1, {0x12, 0x40}},
      {true, true, 1, {0x12, 0x03, 0x40}},
  };
  for (const auto& c : cases) {
    TCustomVXHexEditor ed;
    Load(ed, {0x12, 0x34});
    const bool done = c.Insert ? ed.InsertNibble(c.Position, c.High, QString())
                               : ed.DeleteNibble(c.Position, c.High, QString());
    EXPECT_TRUE(done);
    EXPECT_EQ(Hex(Doc(ed)), Hex(c.Expected)) << c.Insert << c.High << c.Position;
    ed.Undo();
    EXPECT_EQ(Hex(Doc(ed)), "12 34");
  }
}

TEST(EditingNibbles, LongTailsShiftAcrossWordBoundaries) {
  Bytes data(1000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 37 + 11);
  for (int p : {0, 3, 7, 8, 500, 991, 999}) {
    for (bool high : {true, false}) {
      TCustomVXHexEditor ed;
      Load(ed, data);
      ed.InsertNibble(p, high, QString());
      Bytes nib = Nibbles(data);
      nib.insert(nib.begin() + 2 * p + (high ? 0 : 1), 0);
      nib.push_back(0);
      ASSERT_EQ(Doc(ed), FromNibbles(nib)) << p << high;
      ed.DeleteNibble(p, high, QString());
      Bytes back = Doc(ed);
      back.pop_back();
      ASSERT_EQ(Hex(back), Hex(data)) << p << high;
    }
  }
}

TEST_F(Editing, SeekClampsAndMovesTheCaret) {
  EXPECT_EQ(ed.Seek(0, 2), 31);
  EXPECT_EQ(ed.CaretPosition(), 31);
  EXPECT_EQ(ed.Seek(-5, 0), 0);
  EXPECT_EQ(ed.Seek(10, 0), 10);
  EXPECT_EQ(ed.Seek(-3, 1), 7);
  EXPECT_EQ(ed.Seek(99, 1), 31);
}

TEST_F(Editing, SetAsTextReplacesEverything) {
  ed.SetTranslation(tkBCD);
  ed.SetAsText(QStringLiteral("AB"));
  EXPECT_EQ(Doc(ed), Bytes({0xC1, 0xC2}));
}

TEST_F(Editing, DeletingInFrontOfABookmarkMovesIt) {
  ed.ToggleBookmark(1, 20, false);
  ed.ToggleBookmark(2, 2, false);
  ed.SelectRange(0, 4);
  ed.DeleteSelection(QString());
  EXPECT_EQ(ed.Bookmark(1).Position, 15);
  EXPECT_EQ(ed.Bookmark(2).Position, 2);  // inside the deleted range: kept
  ed.Undo();
  EXPECT_EQ(ed.Bookmark(1).Position, 20);
}

TEST_F(Editing, UndoingARemovalLeavesBookmarksBeforeItAlone) {
  ed.ToggleBookmark(0, 3, false);
  ed.ToggleBookmark(1, 25, false);
  ed.SelectRange(10, 14);
  ed.DeleteSelection(QString());
  ed.Undo();
  EXPECT_EQ(ed.Bookmark(0).Position, 3);
  EXPECT_EQ(ed.Bookmark(1).Position, 25);
}

TEST_F(Editing, GrowingReplacementMovesTheBookmarksAfterIt) {
  ed.ToggleBookmark(0, 12, false);
  ed.SelectRange(10, 11);
  const uint8_t b[5] = {};
  ed.ReplaceSelection(b, 5, QString(), true);
  EXPECT_EQ(ed.Bookmark(0).Position, 15);
  ed.Undo();
  EXPECT_EQ(ed.Bookmark(0).Position, 12);
}

TEST_F(Editing, InsertingPastTheOldEndKeepsBookmarksThatStillFit) {
  ed.ToggleBookmark(0, 31, false);
  const uint8_t b[4] = {};
  ed.InsertBuffer(b, 4, 30, QString(), false);
  EXPECT_EQ(ed.Bookmark(0).Position, 35);
}

// ---------------------------------------------------------------- undo storage

TEST(UndoStorage, TrimmingKeepsTheLimitArithmetic) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(64));
  ed.SetMaxUndo(100);
  // Overwriting seven bytes without selection or description makes a record of 33 + 7.
  const uint8_t seven[7] = {9, 9, 9, 9, 9, 9, 9};
  auto change = [&](int p) { ed.OverwriteBuffer(seven, p, 7, 7, QString(), true); };
  auto& undo = ed.UndoStorage();
  change(0);
  ASSERT_EQ(undo.Size(), 40);
  change(8);
  change(16);
  EXPECT_EQ(undo.RecordCount(), 3);
  EXPECT_EQ(undo.Size(), 120);
  change(24);  // 120 > 100: the oldest goes first
  EXPECT_EQ(undo.RecordCount(), 3);
  EXPECT_EQ(undo.Size(), 120);
  change(32);
  EXPECT_EQ(undo.RecordCount(), 3);
}

TEST(UndoStorage, ARecordLargerThanTheLimitIsStillUndoable) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(300));
  ed.SetMaxUndo(100);
  ed.SelectRange(0, 199);
  ed.DeleteSelection(QString());
  EXPECT_EQ(ed.DataSize(), 100);
  ASSERT_TRUE(ed.CanUndo());
  ed.Undo();
  EXPECT_EQ(Doc(ed), CountingBytes(300));
}

TEST(UndoStorage, UndoUndoRedoAndUndoRedoUndo) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(8));
  ed.ChangeByte(0, 0, 0xA0, QString());
  ed.ChangeByte(1, 1, 0xA1, QString());
  ed.Undo();
  ed.Undo();
  ed.Redo();
  EXPECT_EQ(Hex(Doc(ed)).substr(0, 5), "A0 01");
  EXPECT_FALSE(ed.CanRedo());
  ed.Redo();
  EXPECT_EQ(Hex(Doc(ed)).substr(0, 5), "A0 01");

  ed.Undo();
  ed.Redo();
  ed.Undo();
  EXPECT_EQ(Hex(Doc(ed)).substr(0, 5), "00 01");
  EXPECT_TRUE(ed.CanRedo());
  ed.ChangeByte(5, 5, 0x55, QString());
  EXPECT_FALSE(ed.CanRedo());
}

TEST(UndoStorage, AGroupRevertsItsRecordsInOneStep) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(8));
  ed.ChangeByte(0, 0, 0xF0, QString());
  ed.ChangeByte(1, 1, 0xF1, QString());
  ed.ChangeByte(2, 2, 0xF2, QString());
  ed.GroupUndo(2, QStringLiteral("Daten bewegt"));
  EXPECT_EQ(ed.UndoDescription(), QStringLiteral("Daten bewegt"));
  ed.Undo();
  EXPECT_EQ(Hex(Doc(ed)).substr(0, 8), "F0 01 02");
  EXPECT_FALSE(ed.CanRedo());
  EXPECT_EQ(ed.UndoDescription(), QStringLiteral("Ändere Byte(s)"));
}

TEST(UndoStorage, DescriptionsAndRemovalRestoreTheCaret) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(40));
  ed.Seek(25, 0);
  ed.DeleteAtCaret(false, QStringLiteral("Weg damit"));
  EXPECT_EQ(ed.UndoDescription(), QStringLiteral("Weg damit"));
  ed.Seek(3, 0);
  ed.Undo();
  EXPECT_EQ(ed.GetByte(25), 25);
  EXPECT_EQ(ed.CaretPosition(), 25);
  EXPECT_TRUE(ed.UndoDescription().isEmpty());
}

TEST(UndoStorage, UndoRestoresInsertModeAndSelection) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(40));
  ed.SetCaretInCharField(true);
  ed.SelectRange(4, 9);
  ed.ChangeByte(4, 4, 0x44, QString());
  ed.SetInsertMode(true);
  ed.ResetSelection(false);
  ed.Undo();
  EXPECT_FALSE(ed.InsertMode());
  EXPECT_EQ(ed.SelLow(), 4);
  EXPECT_EQ(ed.SelHigh(), 9);
  EXPECT_TRUE(ed.CaretInCharField());
}

TEST(UndoStorage, OneNotificationPerEventLoopTurn) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(40));
  int calls = 0;
  ed.OnSelectionChanged = [&](QObject*) { ++calls; };
  QCoreApplication::sendPostedEvents(&ed);
  calls = 0;
  for (int i = 0; i < 10; ++i) ed.ChangeByte(i, static_cast<uint8_t>(i), 0xEE, QString());
  QCoreApplication::sendPostedEvents(&ed);
  EXPECT_EQ(calls, 1);
}
