// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The line comparison's text core.
#include <gtest/gtest.h>

#include "diff/LineDiff.h"
#include "tests/support/QStringPrinter.h"

using namespace corvella;

namespace {

TEST(LineDiffTest, CutAtCRKeepsTheLFWithTheNextPiece) {
    QString text = QStringLiteral("a\r\nb\r\n");
    const auto pieces = LineDiff::CutAtCR(text);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], u"a");
    EXPECT_EQ(pieces[1], u"\nb");
    EXPECT_EQ(pieces[2], u"\n");
    EXPECT_TRUE(LineDiff::CutAtCR(QString()).empty());
}

}  // namespace
