// Search, search again, replace and go-to: the three dialogs and the four commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <memory>

#include "app/untGoto.h"
#include "app/untHexFrm.h"
#include "app/untIniFile.h"
#include "app/untMain.h"
#include "common/ScriptedPrompts.h"
#include "common/TempDir.h"
#include "hexeditor/EditorFixture.h"

namespace {

QByteArray Bytes(const TCustomVXHexEditor& ed) {
  return QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), ed.DataSize());
}

// What a scripted dialog does: fill in, then press a button (or nothing: cancelled).
using Step = std::function<void(QDialog&)>;

Step SearchFor(const QString& text, Qt::CheckState asText = Qt::PartiallyChecked, bool exactCase = false) {
  return [=](QDialog& d) {
    auto& dlg = dynamic_cast<TfrmSearch&>(d);
    dlg.edtSearchString->setText(text);
    dlg.cbSearchText->setCheckState(asText);
    dlg.cbIgnoreCase->setChecked(exactCase);
    dlg.btnSearch->click();
  };
}

Step ReplaceWith(const QString& search, const QString& repl, bool all, bool ignoreCase = false,
                 Qt::CheckState searchAsText = Qt::PartiallyChecked, Qt::CheckState replAsText = Qt::PartiallyChecked) {
  return [=](QDialog& d) {
    auto& dlg = dynamic_cast<TfrmReplace&>(d);
    dlg.edtSearchString->setText(search);
    dlg.edtReplaceString->setText(repl);
    dlg.cbSearchText->setCheckState(searchAsText);
    dlg.cbReplaceText->setCheckState(replAsText);
    dlg.cbIgnoreCase->setChecked(ignoreCase);
    (all ? dlg.btnReplaceAll : dlg.btnReplace)->click();
  };
}

Step GoTo(const QString& text) {
  return [=](QDialog& d) {
    auto& dlg = dynamic_cast<TfrmGoto&>(d);
    dlg.edtGoto->setText(text);
    dlg.btnOk->click();
  };
}

class SearchTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDefaultSettings();
    ProcessCommandLine({});
    Main = std::make_unique<TfrmMain>(Ini);
    Main->resize(800, 600);
    Main->RunDialog = [this](QDialog& d) {
      ++Shown;
      if (Script.empty()) return int(QDialog::Rejected);
      const Step step = Script.front();
      Script.pop_front();
      step(d);
      return d.result();
    };
  }
  void TearDown() override {
    Main.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  TVXHexEditorEx& Open(const QByteArray& data) {
    TfrmDavAru* frm = Main->CreateEditorWindow();
    TMemoryStream s;
    s.WriteBuffer(data.constData(), data.size());
    frm->davaruMain->LoadFromStream(s);
    frm->show();
    Main->MDIClient()->setActiveSubWindow(frm);
    return *frm->davaruMain;
  }

  QString Selection(const TCustomVXHexEditor& ed) const {
    return QStringLiteral("%1-%2").arg(ed.SelLow()).arg(ed.SelHigh());
  }

  TempDir Dir;
  const QString Ini = Dir.Path(QStringLiteral("zq.ini"));
  ScriptedPrompts Prompts;
  std::unique_ptr<TfrmMain> Main;
  std::deque<Step> Script;
  int Shown = 0;
};

// ------------------------------------------------------------------ the dialogs

TEST(SearchDialogs, SearchDialogLayoutAndButtonEnabling) {
  TfrmSearch dlg;
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Suchen ..."));
  EXPECT_EQ(dlg.Label1->text(), QStringLiteral("Geben Sie den Suchbegriff / Hex-Zeichen ein:"));
  EXPECT_EQ(dlg.cbSearchText->text(), QStringLiteral("Nach Text suchen"));
  EXPECT_TRUE(dlg.cbSearchText->isTristate());
  EXPECT_EQ(dlg.cbSearchText->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(dlg.cbIgnoreCase->text(), QStringLiteral("Groß/Kleinschreibung beachten"));
  EXPECT_EQ(dlg.btnSearch->text(), QStringLiteral("Suche"));
  EXPECT_EQ(dlg.btnCancel->text(), QStringLiteral("Abbrechen"));
  EXPECT_TRUE(dlg.btnSearch->isDefault());
  EXPECT_FALSE(dlg.btnSearch->isEnabled());
  QTest::keyClicks(dlg.edtSearchString, QStringLiteral("ab"));
  EXPECT_TRUE(dlg.btnSearch->isEnabled());
  dlg.edtSearchString->clear();
  EXPECT_FALSE(dlg.btnSearch->isEnabled());
}

TEST(SearchDialogs, ReplaceDialogLayoutAndButtonEnabling) {
  TfrmReplace dlg;
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Suchen und Ersetzen ..."));
  EXPECT_EQ(dlg.Label1->text(), QStringLiteral("Geben Sie einen Text oder Hex-Daten ein:"));
  EXPECT_EQ(dlg.Label2->text(), QStringLiteral("Ersetzungstext oder Hex-Daten:"));
  EXPECT_EQ(dlg.cbSearchText->text(), QStringLiteral("Suchtext"));
  EXPECT_EQ(dlg.cbReplaceText->text(), QStringLiteral("Textsuche ?"));
  EXPECT_EQ(dlg.cbIgnoreCase->text(), QStringLiteral("Ignoriere Groß/Kleinschreibung"));
  EXPECT_EQ(dlg.cbSearchText->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(dlg.cbReplaceText->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(dlg.btnReplace->text(), QStringLiteral("Ersetze"));
  EXPECT_EQ(dlg.btnReplaceAll->text(), QStringLiteral("Ersetze alle"));
  EXPECT_TRUE(dlg.btnReplace->isDefault());
  EXPECT_FALSE(dlg.btnReplace->isEnabled());
  EXPECT_FALSE(dlg.btnReplaceAll->isEnabled());
  dlg.edtReplaceString->setText(QStringLiteral("x"));  // the replacement alone enables nothing
  EXPECT_FALSE(dlg.btnReplace->isEnabled());
  dlg.edtSearchString->setText(QStringLiteral("y"));
  EXPECT_TRUE(dlg.btnReplace->isEnabled());
  EXPECT_TRUE(dlg.btnReplaceAll->isEnabled());
  dlg.edtReplaceString->clear();  // the replacement may stay empty
  EXPECT_TRUE(dlg.btnReplaceAll->isEnabled());
  EXPECT_FALSE(dlg.ReplaceAllChosen());
  dlg.btnReplaceAll->click();
  EXPECT_TRUE(dlg.ReplaceAllChosen());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(SearchDialogs, GotoDialogTextsAndKeys) {
  TfrmGoto dlg;
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Gehe zu..."));
  EXPECT_EQ(dlg.Label1->text(), QStringLiteral("Position in Byte angeben:"));
  EXPECT_TRUE(dlg.edtGoto->text().isEmpty());
  EXPECT_EQ(dlg.lblGoto->text().split(u'\n'),
            QStringList({QStringLiteral("+ von aktueller Position vorwärts (z.B. +10)"),
                         QStringLiteral("- von aktueller Position rückwärts (z.B. -10)"),
                         QStringLiteral("! vom Ende rückwärts (z.B. !10)"),
                         QStringLiteral("keine Angabe - von Beginn (z.B. 10)")}));
  EXPECT_EQ(dlg.btnOk->text(), QStringLiteral("Ok"));
  EXPECT_EQ(dlg.btnCancel->text(), QStringLiteral("Abbrechen"));
  dlg.setResult(-1);
  QTest::keyClick(&dlg, Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  QTest::keyClick(&dlg, Qt::Key_Escape);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(SearchDialogs, EscapeCancelsTheSearchAndReplaceDialogs) {
  TfrmSearch search;
  search.setResult(-1);
  QTest::keyClick(&search, Qt::Key_Escape);
  EXPECT_EQ(search.result(), QDialog::Rejected);
  TfrmReplace replace;
  replace.setResult(-1);
  QTest::keyClick(&replace, Qt::Key_Escape);
  EXPECT_EQ(replace.result(), QDialog::Rejected);
}

TEST(SearchDialogs, IsHexString) {
  const std::pair<const char*, bool> cases[] = {
      {"41 42", true}, {"AB", true}, {"abc", true}, {" 0f ", true}, {"Hallo", false}, {"", false},
      {"   ", false},  {"4G", false}, {"41\t42", false}, {"\t41", false}, {"x", false}};
  for (const auto& [text, hex] : cases) EXPECT_EQ(IsHexString(QString::fromLatin1(text)), hex) << text;
}

TEST(SearchDialogs, ReplaceDialogOpensWithTheResolvedStatesOfTheLastReplace) {
  TReplaceRec rec;
  rec.SearchText = QStringLiteral("41");
  rec.ReplaceText = QStringLiteral("zz");
  rec.SearchAsText = false;
  rec.ReplaceAsText = true;
  rec.IgnoreCase = true;
  ShowReplaceDialog(rec, [](QDialog& d) {
    auto& dlg = dynamic_cast<TfrmReplace&>(d);
    EXPECT_EQ(dlg.edtSearchString->text(), QStringLiteral("41"));
    EXPECT_EQ(dlg.edtReplaceString->text(), QStringLiteral("zz"));
    EXPECT_EQ(dlg.cbSearchText->checkState(), Qt::Unchecked);
    EXPECT_EQ(dlg.cbReplaceText->checkState(), Qt::Checked);
    EXPECT_TRUE(dlg.cbIgnoreCase->isChecked());
    EXPECT_TRUE(dlg.btnReplace->isEnabled());
    return int(QDialog::Rejected);
  });
}

// ------------------------------------------------------------------ search and search again

TEST_F(SearchTest, EntryIsReadAsTextOrHex) {
  struct Case {
    const char* entry;
    Qt::CheckState box;
    QByteArray expected;
    bool asText;
  } cases[] = {
      {"41 42", Qt::PartiallyChecked, QByteArray("AB"), false},
      {"AB", Qt::PartiallyChecked, QByteArray("\xAB"), false},
      {"ABC", Qt::PartiallyChecked, QByteArray("\xAB"), false},  // the odd digit is dropped
      {"Hallo", Qt::PartiallyChecked, QByteArray("Hallo"), true},
      {"41 42", Qt::Checked, QByteArray("41 42"), true},
  };
  TVXHexEditorEx& ed = Open(QByteArray("xxAB\xAB 41 42 Hallo"));
  for (const Case& c : cases) {
    ed.SetSelectionStart(0);
    Script.push_back(SearchFor(QString::fromLatin1(c.entry), c.box));
    Main->acSearch->trigger();
    EXPECT_EQ(Main->FindRec.SearchData, c.expected) << c.entry;
    EXPECT_EQ(Main->FindRec.SearchAsText, c.asText) << c.entry;
    const int at = QByteArray("xxAB\xAB 41 42 Hallo").indexOf(c.expected);
    EXPECT_EQ(Selection(ed), QStringLiteral("%1-%2").arg(at).arg(at + c.expected.size() - 1)) << c.entry;
  }
  EXPECT_TRUE(Prompts.Log.isEmpty());
}

TEST_F(SearchTest, SearchAgainWalksOverlappingMatchesThenSaysNoMore) {
  TVXHexEditorEx& ed = Open(QByteArray("aaaa"));
  Script.push_back(SearchFor(QStringLiteral("61 61")));
  Main->acSearch->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("0-1"));
  EXPECT_EQ(ed.CaretPosition(), 1);
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("1-2"));
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("2-3"));
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("2-3"));
  EXPECT_EQ(Prompts.Log, QStringList{QStringLiteral("message: Keine weiteren Entsprechungen für \"61 61\" mehr.")});
  EXPECT_FALSE(Main->FirstSearch);
}

TEST_F(SearchTest, SearchAgainInTheSixteenBitCharacterFieldMovesOn) {
  // There the caret cannot stand on an odd byte; F3 still walks the matches as elsewhere.
  TVXHexEditorEx& ed = Open(QByteArray("aaaa"));
  ed.SetUnicodeChars(true);
  ed.SetCaretInCharField(true);
  Script.push_back(SearchFor(QStringLiteral("61 61")));
  Main->acSearch->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("0-1"));
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("1-2"));
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("2-3"));
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Prompts.Log.size(), 1);
}

TEST_F(SearchTest, NoMatchAtAllAndSearchAgainBeforeAnySearch) {
  TVXHexEditorEx& ed = Open(QByteArray("abc"));
  Main->acSearchAgain->trigger();  // nothing to repeat yet
  EXPECT_TRUE(Prompts.Log.isEmpty());
  Script.push_back(SearchFor(QStringLiteral("zz")));
  Main->acSearch->trigger();
  EXPECT_EQ(Prompts.Log, QStringList{QStringLiteral("message: Keine Entsprechungen für \"zz\".")});
  EXPECT_EQ(ed.SelectionCount(), 0);
  // Hex without a digit searches for nothing and says nothing.
  Prompts.Log.clear();
  Script.push_back(SearchFor(QStringLiteral("xyz"), Qt::Unchecked));
  Main->acSearch->trigger();
  EXPECT_TRUE(Prompts.Log.isEmpty());
}

TEST_F(SearchTest, RepeatedOneByteSearchMovesOn) {
  TVXHexEditorEx& ed = Open(QByteArray("AxAA"));
  Script.push_back(SearchFor(QStringLiteral("41")));
  Main->acSearch->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("0-0"));
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("2-2"));
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("3-3"));
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Prompts.Log.size(), 1);
}

TEST_F(SearchTest, CaseBoxOfTheSearchDialogMeansExact) {
  TVXHexEditorEx& ed = Open(QByteArray("xHALLO hallo Hallo"));
  Script.push_back(SearchFor(QStringLiteral("Hallo")));  // box unticked: case is ignored
  Main->acSearch->trigger();
  EXPECT_TRUE(Main->FindRec.IgnoreCase);
  EXPECT_EQ(Selection(ed), QStringLiteral("1-5"));
  Main->acSearchAgain->trigger();
  EXPECT_EQ(Selection(ed), QStringLiteral("7-11"));
  ed.SetSelectionStart(0);
  Script.push_back(SearchFor(QStringLiteral("Hallo"), Qt::PartiallyChecked, true));  // ticked: exact
  Main->acSearch->trigger();
  EXPECT_FALSE(Main->FindRec.IgnoreCase);
  EXPECT_EQ(Selection(ed), QStringLiteral("13-17"));
}

TEST_F(SearchTest, SearchLeavesTheSelectionAloneWhenCancelled) {
  TVXHexEditorEx& ed = Open(QByteArray("0123456789"));
  ed.SelectRange(2, 5);
  Main->acSearch->trigger();  // the script is empty: cancelled
  EXPECT_EQ(Shown, 1);
  EXPECT_EQ(Selection(ed), QStringLiteral("2-5"));
  EXPECT_EQ(Bytes(ed), QByteArray("0123456789"));
  EXPECT_FALSE(ed.Modified());
}

TEST_F(SearchTest, CommandsWithoutAnEditorWindowDoNothing) {
  Main->acSearch->trigger();
  Main->acReplace->trigger();
  Main->acGoto->trigger();
  EXPECT_EQ(Shown, 0);
  EXPECT_TRUE(Prompts.Log.isEmpty());
}

// ------------------------------------------------------------------ replace

TEST_F(SearchTest, ReplaceAllOfAByteByTwoIsNotRepeated) {
  TVXHexEditorEx& ed = Open(QByteArray(2, '\0'));
  Script.push_back(ReplaceWith(QStringLiteral("00"), QStringLiteral("00 00"), true));
  Main->acReplace->trigger();
  EXPECT_EQ(Bytes(ed), QByteArray(4, '\0'));
  EXPECT_EQ(Prompts.Log, QStringList{QStringLiteral("message: 2 Ersetzungen.")});
}

TEST_F(SearchTest, ReplaceAllWithNothingDeletesEveryMatch) {
  TVXHexEditorEx& ed = Open(QByteArray("a--b--c--"));
  Script.push_back(ReplaceWith(QStringLiteral("--"), QString(), true, false, Qt::Checked));
  Main->acReplace->trigger();
  EXPECT_EQ(Bytes(ed), QByteArray("abc"));
  EXPECT_EQ(Prompts.Log, QStringList{QStringLiteral("message: 3 Ersetzungen.")});
}

TEST_F(SearchTest, SingleReplaceTakesTheFirstMatchFromTheCaretQuietly) {
  TVXHexEditorEx& ed = Open(QByteArray("ab-ab-ab"));
  ed.SetSelectionStart(2);
  Script.push_back(ReplaceWith(QStringLiteral("ab"), QStringLiteral("XYZ"), false, false, Qt::Checked));
  Main->acReplace->trigger();
  EXPECT_EQ(Bytes(ed), QByteArray("ab-XYZ-ab"));
  EXPECT_EQ(ed.CaretPosition(), 5);
  EXPECT_TRUE(Prompts.Log.isEmpty());
  ed.Undo();
  EXPECT_EQ(Bytes(ed), QByteArray("ab-ab-ab"));
}

TEST_F(SearchTest, ReplaceWithoutMatchReportsTheError) {
  TVXHexEditorEx& ed = Open(QByteArray("abc"));
  Script.push_back(ReplaceWith(QStringLiteral("zz"), QStringLiteral("y"), true));
  Main->acReplace->trigger();
  EXPECT_EQ(Prompts.Log, QStringList{QStringLiteral("error: Keine Fundstellen")});
  EXPECT_EQ(Bytes(ed), QByteArray("abc"));
  EXPECT_FALSE(ed.CanUndo());
  // A hex entry without a digit finds nothing either.
  Prompts.Log.clear();
  Script.push_back(ReplaceWith(QStringLiteral("qq"), QStringLiteral("y"), true, false, Qt::Unchecked));
  Main->acReplace->trigger();
  EXPECT_EQ(Prompts.Log, QStringList{QStringLiteral("error: Keine Fundstellen")});
}

TEST_F(SearchTest, ReplaceIgnoringCaseFindsEveryCaseAndTranslatesTheReplacement) {
  TVXHexEditorEx& ed = Open(QByteArray("HALLO hallo Hallo"));
  ed.SetTranslation(tkDos8);
  Script.push_back(ReplaceWith(QStringLiteral("Hallo"), QStringLiteral("Ä"), true, true));
  Main->acReplace->trigger();
  EXPECT_EQ(Bytes(ed), QByteArray("\x8E \x8E \x8E"));  // Ä in the OEM set
  EXPECT_EQ(Prompts.Log, QStringList{QStringLiteral("message: 3 Ersetzungen.")});
  // Exact: only the same case.
  Prompts.Log.clear();
  LoadBytes(ed, QByteArray("HALLO hallo"));
  Script.push_back(ReplaceWith(QStringLiteral("hallo"), QStringLiteral("42"), true, false, Qt::PartiallyChecked,
                               Qt::Unchecked));
  Main->acReplace->trigger();
  EXPECT_EQ(Bytes(ed), QByteArray("HALLO B"));
}

TEST_F(SearchTest, ReplaceRemembersTheLastEntries) {
  Open(QByteArray("abab"));
  Script.push_back(ReplaceWith(QStringLiteral("ab"), QStringLiteral("41"), true));
  Main->acReplace->trigger();
  EXPECT_EQ(Main->ReplaceRec.SearchText, QStringLiteral("ab"));
  EXPECT_FALSE(Main->ReplaceRec.SearchAsText);  // "ab" is hex digits
  EXPECT_FALSE(Main->ReplaceRec.ReplaceAsText);
  EXPECT_TRUE(Main->ReplaceRec.ReplaceAll);
  Script.push_back([](QDialog& d) {
    auto& dlg = dynamic_cast<TfrmReplace&>(d);
    EXPECT_EQ(dlg.edtSearchString->text(), QStringLiteral("ab"));
    EXPECT_EQ(dlg.cbSearchText->checkState(), Qt::Unchecked);
    EXPECT_EQ(dlg.cbReplaceText->checkState(), Qt::Unchecked);
  });
  Main->acReplace->trigger();
}

// ------------------------------------------------------------------ go to

TEST_F(SearchTest, GotoPositions) {
  TVXHexEditorEx& ed = Open(Counting(100));
  const struct {
    const char* entry;
    int from, expected;
  } cases[] = {{"!0", 0, 99},    {"!10", 0, 89},  {"10", 50, 10}, {"+5", 10, 15}, {"-3", 10, 7},
               {"0x10", 0, 16},  {"$20", 0, 32},  {"+1000", 10, 99}, {"-1000", 10, 0}, {"!200", 50, 0}};
  for (const auto& c : cases) {
    ed.SetSelectionStart(c.from);
    Script.push_back(GoTo(QString::fromLatin1(c.entry)));
    Main->acGoto->trigger();
    EXPECT_EQ(ed.CaretPosition(), c.expected) << c.entry;
  }
  EXPECT_TRUE(Prompts.Log.isEmpty());
}

TEST_F(SearchTest, GotoWithBadNumbersShowsTheErrorAndStays) {
  TVXHexEditorEx& ed = Open(Counting(100));
  for (const char* entry : {"!", "+", "zz", "12x"}) {
    ed.SetSelectionStart(40);
    Prompts.Log.clear();
    Script.push_back(GoTo(QString::fromLatin1(entry)));
    Main->acGoto->trigger();
    ASSERT_EQ(Prompts.Errors().size(), 1) << entry;
    EXPECT_EQ(ed.CaretPosition(), 40) << entry;
  }
  ed.SetSelectionStart(40);
  Prompts.Log.clear();
  Script.push_back(GoTo(QStringLiteral("!")));
  Main->acGoto->trigger();
  EXPECT_EQ(Prompts.Log, QStringList{QStringLiteral("error: '' ist kein gültiger Integerwert")});
  // An empty entry or a cancelled dialog goes nowhere.
  Script.push_back(GoTo(QString()));
  Main->acGoto->trigger();
  Main->acGoto->trigger();
  EXPECT_EQ(ed.CaretPosition(), 40);
}

}  // namespace
