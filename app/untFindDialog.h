// The search dialog, the last search, and how a search entry is read as text or hex.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The last search of the run.
struct TFindRec {
  QString SearchText;     // the entry as typed
  QByteArray SearchData;  // the bytes searched for
  bool IgnoreCase = false;
  bool SearchAsText = false;
};

// Runs a dialog modally and returns its result. The commands take one so tests can fill
// and close their dialogs without an event loop; an empty one runs exec().
using TModalRunner = std::function<int(QDialog&)>;
int RunModal(QDialog& Dialog, const TModalRunner& Runner);

// True when Text, trimmed, is not empty and consists only of blanks and hex digits.
bool IsHexString(const QString& Text);

// The fixed-size look the three search dialogs share.
void SetDialogFont(QDialog& Dialog);

class TfrmSearch : public QDialog {
  Q_OBJECT
public:
  explicit TfrmSearch(QWidget* parent = nullptr);

  QLabel* Label1;
  QLineEdit* edtSearchString;
  QCheckBox* cbSearchText;  // three states; grayed leaves text or hex to the program
  QCheckBox* cbIgnoreCase;  // "Groß/Kleinschreibung beachten": checked means exact
  QPushButton* btnSearch;
  QPushButton* btnCancel;

  void edtSearchStringChange();
};

// Shows the dialog prefilled from Rec; true (and Rec updated) when closed with "Suche".
bool ShowSearchDialog(TFindRec& Rec, const TModalRunner& Runner = {}, QWidget* Parent = nullptr);
