// A main window with its own settings file and scripted dialogs, for command tests.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "app/untHexFrm.h"
#include "app/untIniFile.h"
#include "app/untMain.h"
#include "common/ScriptedPrompts.h"
#include "common/TempDir.h"

class MainWindowFixture : public ::testing::Test {
protected:
  TempDir Dir;
  ScriptedPrompts Script;
  std::unique_ptr<TfrmMain> Main;

  void SetUp() override {
    SetDefaultSettings();
    ProcessCommandLine({});
    Main = std::make_unique<TfrmMain>(Dir.Path(QStringLiteral("test.ini")));
    Main->resize(900, 700);
    Main->show();
  }
  void TearDown() override {
    // Nothing left to ask about when the window goes.
    for (TfrmDavAru* w : Main->EditorWindows()) w->davaruMain->SetModified(false);
    Main.reset();
    FlushDeletes();
  }
  static void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  TVXHexEditorEx& Active() { return *Main->ActiveEditorWindow()->davaruMain; }
};
