// Construction and notifications of the control.
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHUndoStorage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace {
// Posted to the control itself so any number of notifications within one pass of the
// event loop give one OnSelectionChanged.
const QEvent::Type kSelectionChangedEvent = static_cast<QEvent::Type>(QEvent::User + 0x101);
}  // namespace

TCustomVXHexEditor::TCustomVXHexEditor(QWidget* parent)
    : TCustomGrid(parent), FUndoStorage(std::make_unique<TVXHUndoStorage>(*this)) {
  FFont.SetName(QStringLiteral("Courier New"));
  FFont.SetSize(11);
  FFont.SetColor(clWindowText);
  setFont(FFont.ToQFont());
  viewport()->setCursor(Qt::IBeamCursor);
  SetColCount(51);
  SetRowCount(3);
  SetDefaultColWidth(0);
  SetDefaultRowHeight(0);
  SetFixedCols(2);
  SetFixedRows(2);
  ParseOffsetFormat(QStringLiteral("-!10:0x|"));
  BuildRulerText();
  Loaded();
}

TCustomVXHexEditor::~TCustomVXHexEditor() {
  FDataStorage.Clear();
  FUndoStorage->Clear();
}

void TCustomVXHexEditor::Loaded() {
  if (FFileName == QStringLiteral("---")) CreateEmptyFile(QString());
}

bool TCustomVXHexEditor::event(QEvent* e) {
  if (e->type() == kSelectionChangedEvent) {
    FSelectionChangedPending = false;
    if (OnSelectionChanged) OnSelectionChanged(this);
    return true;
  }
  if (HandlePlaceCaretEvent(e)) return true;
  return TCustomGrid::event(e);
}

void TCustomVXHexEditor::NotifySelectionChanged() {
  if (FSelectionChangedPending) return;
  FSelectionChangedPending = true;
  QCoreApplication::postEvent(this, new QEvent(kSelectionChangedEvent));
}

void TCustomVXHexEditor::Changed() {
  if (OnChange) OnChange(this);
  NotifySelectionChanged();
}

void TCustomVXHexEditor::UndoBeginUpdate() { FUndoStorage->BeginUpdate(); }
void TCustomVXHexEditor::UndoEndUpdate() { FUndoStorage->EndUpdate(); }

void TCustomVXHexEditor::ResetUndo() { FUndoStorage->Reset(); }
void TCustomVXHexEditor::ClearChangeMarks() { FChangeMarks.clear(); }

void TCustomVXHexEditor::MoveCaretToFirstCell() { MoveCurrentCell(2, 2, true); }

void TCustomVXHexEditor::SetReadOnlyView(bool value) { FReadOnlyView = value; }
