// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own icon (a resource of the program) is the drawing that the installed icons of
// every size are rendered from, so the window and the menus show the same picture.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cstdlib>

namespace {

// The largest difference of any channel of any pixel, or -1 when the sizes differ.
int largestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            for (const int d : {p.red() - q.red(), p.green() - q.green(), p.blue() - q.blue(),
                                p.alpha() - q.alpha()})
                largest = std::max(largest, std::abs(d));
        }
    return largest;
}

}  // namespace

TEST(WindowIconTest, IsTheInstalledIconOfItsSize) {
    Q_INIT_RESOURCE(resources);
    const QImage window(QStringLiteral(":/corvella.png"));
    const QImage installed(QStringLiteral(CORVELLA_INSTALLED_ICON_64));
    ASSERT_FALSE(window.isNull());
    ASSERT_FALSE(installed.isNull()) << CORVELLA_INSTALLED_ICON_64;
    // Renderers may shade an edge pixel a little differently; a changed drawing differs by far
    // more.
    const int difference = largestDifference(window.convertToFormat(QImage::Format_ARGB32),
                                             installed.convertToFormat(QImage::Format_ARGB32));
    EXPECT_GE(difference, 0) << "sizes " << window.width() << " and " << installed.width();
    EXPECT_LE(difference, 16);
}
