// Shared test entry: a QApplication (headless when there is no display) around GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/Forms.h"

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  TApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
