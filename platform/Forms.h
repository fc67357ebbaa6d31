// Application object: error boundary around event delivery, idle notification,
// and the physical input state that some editor rules read at the moment they ask.
#pragma once

#include <QApplication>
#include <functional>

#include "platform/Graphics.h"

// What a form's close handler decides: stay open, hide, go away, or minimise.
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };

class TApplication : public QApplication {
  Q_OBJECT
public:
  TApplication(int& argc, char** argv);
  // No exception crosses the event loop: errors of a handler reach the error box.
  bool notify(QObject* receiver, QEvent* event) override;

  // Called each time the event queue has become empty.
  std::function<void()> OnIdle;

private:
  void aboutToBlock();
  bool FInIdle = false;
};

// Keyboard modifiers and mouse buttons held right now. Tests may replace the source.
TShiftState QueryPhysicalShiftState();
void SetPhysicalShiftStateSource(std::function<TShiftState()> source);

// Windows virtual-key codes used by the editor's key handling.
enum : int {
  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
  VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
  VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
  VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F6 = 0x75,
  VK_NUMPAD0 = 0x60, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D
};
