#include <gtest/gtest.h>
#include "hexeditor/VXHexEditor.h"

TEST(Buffer, FreshControlIsEmptyUntitled) {
  TCustomVXHexEditor ed;
  EXPECT_EQ(ed.DataSize(), 0);
  EXPECT_EQ(ed.FileName(), QStringLiteral("Untitled"));
}
