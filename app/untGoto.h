// The go-to dialog: a position, absolute or relative to the caret or the end.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmGoto : public QDialog {
  Q_OBJECT
public:
  explicit TfrmGoto(QWidget* parent = nullptr);

  QLabel* Label1;
  QLineEdit* edtGoto;
  QLabel* lblGoto;
  QPushButton* btnOk;
  QPushButton* btnCancel;

  void FormCreate();

protected:
  void keyPressEvent(QKeyEvent* e) override;
};
