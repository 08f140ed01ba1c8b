// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <numeric>

#include "diff/Alignment.h"
#include "diff/LineComparison.h"
#include "diff/layout/LayoutComparison.h"
#include "report/ChangeList.h"
#include "report/JsonReport.h"

namespace corvella {
namespace {

const QString kMoved =
    QStringLiteral("the harbour lights were lit before the evening ferry came in");

struct Compared {
    QString text1, text2;
    ChangeList list;
};

// Lines are placed in the other text through the words' alignment, as the window's link does.
Compared Compare(Method method, const QString& text1, const QString& text2) {
    Comparison comparison = method == Method::Lines ? LineCompare::Compare(text1, text2)
                                                    : LayoutCompare::Compare(text1, text2);
    BySide<std::vector<TextRange>> others;
    const Alignment alignment = AlignWords(text1, text2);
    for (Side side : {Side::One, Side::Two})
        others[side] = PlacesInOther(comparison.side(side).differences, side, alignment,
                                     side == Side::One ? text2 : text1);
    auto shared = std::make_shared<const Comparison>(std::move(comparison));
    return {text1, text2, ChangeList(shared, method == Method::Lines ? &others : nullptr)};
}

// "kind:words of file 1|words of file 2", a row each, in the list's order.
QStringList Rows(const Compared& compared, const std::vector<qint32>* only = nullptr) {
    QStringList rows;
    for (size_t row = 0; row < compared.list.size(); ++row) {
        if (only && std::find(only->begin(), only->end(), qint32(row)) == only->end()) continue;
        const Change& change = compared.list[row];
        rows << ChangeList::KindName(change.kind) + u':' +
                    compared.list.words(change, Side::One, compared.text1) + u'|' +
                    compared.list.words(change, Side::Two, compared.text2);
    }
    return rows;
}

TEST(ChangeListTest, RowsPairWhatReplacedEachOtherInReadingOrder) {
    const struct {
        Method method;
        QString text1, text2;
        QStringList rows;
        QString heading;
    } cases[] = {
        {Method::IgnoringLayout,
         "alpha beta gamma delta epsilon zeta eta theta",
         "alpha omega gamma epsilon zeta eta theta iota",
         {"replaced:beta|omega", "deleted:delta|", "inserted:|iota"},
         "3 changes: 1 replaced, 1 inserted, 1 deleted"},
        {Method::Lines,
         "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n",
         "one\r\n2\r\nthree\r\nfive\r\nsix\r\n",
         {"replaced:two|2", "deleted:four|", "inserted:|six"},
         "3 changes: 1 replaced, 1 inserted, 1 deleted"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text1.toStdString());
        const Compared compared = Compare(c.method, c.text1, c.text2);
        EXPECT_EQ(Rows(compared), c.rows);
        EXPECT_EQ(ChangeList::Heading(compared.list.counts(), 0), c.heading);
    }
}

TEST(ChangeListTest, FiltersShowTheirKindsAndWordsAndAReportKeepsOnlyWhatTheyShow) {
    const Compared compared =
        Compare(Method::IgnoringLayout,
                kMoved + " alpha beta gamma delta epsilon zeta eta theta and so the story begins",
                "alpha Beta gamma epsilon zeta eta theta and so the story begins iota " + kMoved);
    const BySide<QStringView> texts{compared.text1, compared.text2};
    ChangeKinds noMoves = ChangeList::DefaultKinds();
    noMoves[size_t(ChangeKind::Moved)] = false;
    const struct {
        ChangeKinds kinds;
        QString text;
        Qt::CaseSensitivity sensitivity;
        QStringList rows;
    } cases[] = {
        {ChangeList::DefaultKinds(),
         "",
         Qt::CaseSensitive,
         {"moved:" + kMoved + u'|' + kMoved, "replaced:beta|Beta", "deleted:delta|",
          "inserted:|iota"}},
        {noMoves,
         "",
         Qt::CaseSensitive,
         {"replaced:beta|Beta", "deleted:delta|", "inserted:|iota"}},
        {ChangeList::DefaultKinds(), "BETA", Qt::CaseInsensitive, {"replaced:beta|Beta"}},
        {ChangeList::DefaultKinds(), "BETA", Qt::CaseSensitive, {}},
    };
    const DifferenceReport::File file1{"one.pdf", compared.text1}, file2{"two.pdf", compared.text2};
    for (const auto& c : cases) {
        const std::vector<qint32> shown =
            ShownRows(compared.list, c.kinds, c.text, c.sensitivity, texts);
        EXPECT_EQ(Rows(compared, &shown), c.rows);
        // What is kept is exactly what is shown, and a list of it reads the same.
        const auto kept = std::make_shared<const Comparison>(KeepRows(compared.list, shown));
        EXPECT_EQ(Rows({compared.text1, compared.text2, ChangeList(kept)}), c.rows);
    }
    // Keeping every row keeps the comparison as it was.
    std::vector<qint32> all(compared.list.size());
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(JsonReport::Write(KeepRows(compared.list, all), file1, file2),
              JsonReport::Write(compared.list.comparison(), file1, file2));
    // What the filters hid is named.
    const QJsonObject hidden = QJsonDocument::fromJson(JsonReport::Write(
        KeepRows(compared.list, {}), file1, file2, {{"moved"}, "sea", 4}))["hidden"]
                                   .toObject();
    EXPECT_EQ(hidden["kinds"].toArray(), QJsonArray{"moved"});
    EXPECT_EQ(hidden["containing"].toString(), "sea");
    EXPECT_EQ(hidden["changes"].toInt(), 4);
}

}  // namespace
}  // namespace corvella
