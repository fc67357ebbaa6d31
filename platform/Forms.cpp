#include "platform/Forms.h"
#include "platform/Dialogs.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &TApplication::aboutToBlock);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    HandleException(e);
  } catch (...) {
    HandleUnknownException();
  }
  return true;
}

void TApplication::aboutToBlock() {
  if (FInIdle || !OnIdle) return;
  FInIdle = true;
  Guarded([this] { OnIdle(); });
  FInIdle = false;
}

namespace {
std::function<TShiftState()> gShiftSource;
}

TShiftState QueryPhysicalShiftState() {
  if (gShiftSource) return gShiftSource();
  TShiftState s;
  const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
  if (m & Qt::ShiftModifier) s.Include(ssShift);
  if (m & Qt::ControlModifier) s.Include(ssCtrl);
  if (m & Qt::AltModifier) s.Include(ssAlt);
  const Qt::MouseButtons b = QGuiApplication::mouseButtons();
  if (b & Qt::LeftButton) s.Include(ssLeft);
  if (b & Qt::RightButton) s.Include(ssRight);
  if (b & Qt::MiddleButton) s.Include(ssMiddle);
  return s;
}

void SetPhysicalShiftStateSource(std::function<TShiftState()> source) { gShiftSource = std::move(source); }
