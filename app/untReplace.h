// The search-and-replace dialog and the last replace.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include "app/untFindDialog.h"

// The last replace of the run.
struct TReplaceRec {
  QString SearchText;
  QString ReplaceText;
  QByteArray SearchData;
  QByteArray ReplaceData;  // empty: matches are deleted
  bool IgnoreCase = false;
  bool SearchAsText = false;
  bool ReplaceAsText = false;
  bool ReplaceAll = false;  // "Ersetze alle" was pressed
};

class TfrmReplace : public QDialog {
  Q_OBJECT
public:
  explicit TfrmReplace(QWidget* parent = nullptr);

  QLabel* Label1;
  QLineEdit* edtSearchString;
  QCheckBox* cbSearchText;
  QCheckBox* cbIgnoreCase;  // "Ignoriere Groß/Kleinschreibung"
  QLabel* Label2;
  QLineEdit* edtReplaceString;
  QCheckBox* cbReplaceText;
  QPushButton* btnReplace;
  QPushButton* btnReplaceAll;
  QPushButton* btnCancel;

  void edtSearchStringChange();
  void btnReplaceAllClick();
  bool ReplaceAllChosen() const { return FReplaceAll; }

private:
  bool FReplaceAll = false;
};

bool ShowReplaceDialog(TReplaceRec& Rec, const TModalRunner& Runner = {}, QWidget* Parent = nullptr);
