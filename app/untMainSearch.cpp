// The main window's search, search again, replace and go-to commands.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>

#include <algorithm>
#include <climits>

#include "app/untGoto.h"
#include "app/untHexFrm.h"
#include "app/untMain.h"
#include "hexeditor/VXHConvert.h"
#include "hexeditor/VXHTranslation.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

namespace {
const QString kSearchCaption = QStringLiteral("Suche...");
const QString kReplaceCaption = QStringLiteral("Suchen/Ersetzen");
const QString kNoMatch = QStringLiteral("Keine Entsprechungen für \"%s\".");
const QString kNoMoreMatches = QStringLiteral("Keine weiteren Entsprechungen für \"%s\" mehr.");
const QString kNothingFound = QStringLiteral("Keine Fundstellen");
const QString kReplaced = QStringLiteral("%d Ersetzungen.");

// An information box with its own caption. A replaced prompt service (tests) sees the
// text as a plain message.
void ShowInformation(const QString& caption, const QString& text) {
  if (!dynamic_cast<TWidgetPromptService*>(&Prompts())) {
    Prompts().ShowMessage(text);
    return;
  }
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

// The pattern as Find compares it: with case ignored it is lowered like the document's
// bytes, so a pattern with capitals finds both cases too.
QByteArray SearchPattern(const TVXHexEditorEx& ed, const QByteArray& data, bool ignoreCase) {
  QByteArray p = data;
  if (ignoreCase && !p.isEmpty()) ed.FoldCase(reinterpret_cast<uint8_t*>(p.data()), static_cast<int>(p.size()));
  return p;
}

int Clamped(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }
}  // namespace

void TfrmMain::acSearchExecute() {
  TfrmDavAru* frm = ActiveEditorWindow();
  if (!frm) return;
  if (!ShowSearchDialog(FindRec, RunDialog, this)) return;
  LastSearchText = FindRec.SearchText;
  if (!FindRec.SearchAsText) FindRec.SearchData = ConvertHexToBin(FindRec.SearchText, frm->davaruMain->SwapNibbles());
  if (FindRec.SearchData.isEmpty()) return;
  FirstSearch = true;
  acSearchAgainExecute();
}

void TfrmMain::acSearchAgainExecute() {
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{FirstSearch};
  TfrmDavAru* frm = ActiveEditorWindow();
  if (!frm || FindRec.SearchData.isEmpty()) return;
  TVXHexEditorEx& ed = *frm->davaruMain;
  const QByteArray pattern = SearchPattern(ed, FindRec.SearchData, FindRec.IgnoreCase);
  const int length = static_cast<int>(pattern.size());

  int start = std::max(0, ed.CaretPosition());
  // In the 16-bit character field the caret cannot stand on an odd byte: go on from the
  // last byte of the selected match, where it would have stood.
  if (ed.UnicodeChars() && ed.CaretInCharField() && ed.SelectionCount() == length) start = ed.SelHigh();
  // A repeated one-byte search moves on instead of finding the selected byte again.
  if (length == 1 && ed.SelectionCount() == 1) ++start;

  int found = -1;
  if (start < ed.DataSize()) found = ed.Find(pattern.constData(), length, start, ed.DataSize() - 1, FindRec.IgnoreCase);
  if (found != -1) {
    ed.SetSelectionStart(found + length - 1);
    ed.SetSelectionEnd(found);
    if (ed.SelLow() != found || ed.SelHigh() != found + length - 1) {
      ed.SetSelectionRaw(found + length - 1, found, found + length - 1, true);
    }
  } else {
    ShowInformation(kSearchCaption, Format(FirstSearch ? kNoMatch : kNoMoreMatches, {LastSearchText}));
  }
}

void TfrmMain::acReplaceExecute() {
  TfrmDavAru* frm = ActiveEditorWindow();
  if (!frm || frm->davaruMain->ReadOnlyView()) return;
  TVXHexEditorEx& ed = *frm->davaruMain;
  TReplaceRec& r = ReplaceRec;
  if (!ShowReplaceDialog(r, RunDialog, this)) return;
  if (!r.SearchAsText) r.SearchData = ConvertHexToBin(r.SearchText, ed.SwapNibbles());
  if (!r.ReplaceAsText && !r.ReplaceText.isEmpty()) r.ReplaceData = ConvertHexToBin(r.ReplaceText, ed.SwapNibbles());
  if (r.ReplaceAsText && !r.ReplaceText.isEmpty()) {
    auto* b = reinterpret_cast<uint8_t*>(r.ReplaceData.data());
    TranslateToForeign(ed.Translation(), b, b, static_cast<int>(r.ReplaceData.size()));
  }

  const QByteArray pattern = SearchPattern(ed, r.SearchData, r.IgnoreCase);
  const int length = static_cast<int>(pattern.size());
  const int size = static_cast<int>(r.ReplaceData.size());
  int count = 0;
  if (r.ReplaceAll) {
    count = ed.ReplaceAll(pattern.constData(), length, r.ReplaceData.constData(), size, r.IgnoreCase, 0);
  } else {
    const int found = ed.Find(pattern.constData(), length, std::max(0, ed.CaretPosition()), ed.DataSize() - 1,
                              r.IgnoreCase);
    if (found != -1 && ed.ReplaceFound(found, length, r.ReplaceData.constData(), size)) count = 1;
  }
  if (count == 0) throw Exception(kNothingFound);
  if (r.ReplaceAll) ShowInformation(kReplaceCaption, Format(kReplaced, {count}));
}

void TfrmMain::acGotoExecute() {
  TfrmDavAru* frm = ActiveEditorWindow();
  if (!frm) return;
  TfrmGoto dlg(this);
  if (RunModal(dlg, RunDialog) != QDialog::Accepted) return;
  QString text = dlg.edtGoto->text();
  if (text.isEmpty()) return;
  QChar sign;
  if (text[0] == u'!' || text[0] == u'+' || text[0] == u'-') {
    sign = text[0];
    text.remove(0, 1);
  }
  const int64_t n = ParseRadixNumber(text);
  TVXHexEditorEx& ed = *frm->davaruMain;
  if (sign == u'!') ed.Seek(Clamped(-n), 2);
  else if (sign == u'+') ed.Seek(Clamped(n), 1);
  else if (sign == u'-') ed.Seek(Clamped(-n), 1);
  else ed.Seek(Clamped(n), 0);
}
