#include "app/untMain.h"
#include "platform/Forms.h"
#include "hexeditor/VXHexEditor.h"

int RunProgram(int argc, char** argv) {
  TApplication app(argc, argv);
  TCustomVXHexEditor ed;
  ed.show();
  return app.exec();
}
