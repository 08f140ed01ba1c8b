// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// What the layout-free comparison sets aside: the typesetting's quotes, dashes, ligatures and
// hyphens, and what the options ignore; and which characters changed within a replaced run.
#include <gtest/gtest.h>

#include <QStringList>

#include "diff/layout/CharacterChanges.h"
#include "diff/layout/LayoutComparison.h"
#include "diff/layout/WordFolding.h"
#include "tests/support/QStringPrinter.h"

using namespace corvella;

namespace {

QString joined(const std::vector<QString>& runs) {
    return QStringList(runs.begin(), runs.end()).join(QStringLiteral(" | "));
}

TEST(LayoutOptionsTest, FoldingPairsWhatOnlyTheTypesettingChanged) {
    const WordFolding::Rules typography, exact{false, false, false}, letterCase{true, true, false},
        punctuation{true, false, true};
    const struct {
        QString a, b;
        WordFolding::Rules rules;
        bool same;
    } cases[] = {
        {QStringLiteral("\uFB01rst \uFB00 \uFB03x \uFB06"), "first ff ffix st", typography, true},
        {QStringLiteral("\u201CHello,\u201D \u2018it\u2019s\u2019 \u201Elow\u201F 5\u2032"),
         "\"Hello,\" 'it's' \"low\" 5'", typography, true},
        {QStringLiteral("\u2013 \u2014 12\u201315 a\u2212b"), "-- - 12-15 a-b", typography, true},
        {QStringLiteral("no-charge third\u2010party co-op well--known"),
         QStringLiteral("nocharge thirdparty coop well\u2014known"), typography, true},
        {"B-52", "B52", typography, false},
        {QStringLiteral("soft\u00ADhyphen zero\u200Bwidth \uFEFFmark"), "softhyphen zerowidth mark",
         typography, true},
        {QStringLiteral("caf\u0065\u0301 \u2026"), QStringLiteral("caf\u00E9 ..."), typography,
         true},
        // The accent written as a mark: still a letter before the hyphen.
        {QStringLiteral("caf\u0065\u0301-bar"), QStringLiteral("caf\u00E9bar"), typography, true},
        {QStringLiteral("\uFB01rst \u201Cquoted\u201D"), "first \"quoted\"", exact, false},
        {"Word LOUD", "word loud", typography, false},
        {QStringLiteral("Word LOUD \u03A3\u039F\u03A6\u039F\u03A3"),
         QStringLiteral("word loud \u03C3\u03BF\u03C6\u03BF\u03C2"), letterCase, true},
        {QStringLiteral("(word), \u201Cend.\u201D"), "word end", punctuation, true},
        {"wo,rd", "word", punctuation, false},
    };
    for (const auto& c : cases) {
        const QStringList a = c.a.split(u' '), b = c.b.split(u' ');
        ASSERT_EQ(a.size(), b.size()) << c.a.toStdString();
        bool same = true;
        for (qsizetype w = 0; w < a.size(); ++w)
            same = same && WordFolding::Fold(a[w], c.rules) == WordFolding::Fold(b[w], c.rules);
        EXPECT_EQ(same, c.same) << c.a.toStdString() << " / " << c.b.toStdString();
    }
}

// "file 1's runs / file 2's runs", then what was set aside: ", typography 4, case 2".
QString described(const Comparison& found) {
    QString text = joined(found.side(Side::One).differenceWords) + " / " +
                   joined(found.side(Side::Two).differenceWords);
    qsizetype typography = 0;
    for (const Difference& run : found.side(Side::One).typography) typography += run.wordCount;
    const std::pair<const char*, qsizetype> counts[] = {{"typography", typography},
                                                        {"case", found.ignored.letterCase},
                                                        {"punctuation", found.ignored.punctuation},
                                                        {"numbers", found.ignored.numbers}};
    for (const auto& [name, count] : counts)
        if (count > 0) text += QStringLiteral(", %1 %2").arg(name).arg(count);
    return text;
}

TEST(LayoutOptionsTest, OptionsSetAsideWhatTheyNameAndCountIt) {
    using Options = LayoutCompare::Options;
    const Options exact{true, false, false, false}, letterCase{false, true, false, false},
        numbers{false, false, true, false}, punctuation{false, false, false, true};
    const struct {
        QString text1, text2;
        Options options;
        QString found;
    } cases[] = {
        {QStringLiteral("\u201CHello,\u201D the \uFB01rst no-charge \u2013 offer"),
         "\"Hello,\" the first nocharge -- offer",
         {},
         " / , typography 4"},
        {QStringLiteral("the \uFB01rst offer"), "the first offer", exact,
         QStringLiteral("\uFB01rst / first")},
        {"The Cat sat", "the cat sat", {}, "The Cat / the cat"},
        {"The Cat sat", "the cat sat", letterCase, " / , case 2"},
        {"see page 12 and 40", "see page 13 and 41", {}, "12 | 40 / 13 | 41"},
        {"see page 12 and 40", "see page 13 and 41", numbers, " / , numbers 2"},
        // A number only one text has is set aside too.
        {"a b 12 c 7", "a b c 8", numbers, " / , numbers 2"},
        {"(alpha), beta.", "alpha beta", punctuation, " / , punctuation 2"},
        // A word's typography is told before its case.
        {QStringLiteral("\u201CWord\u201D"), "\"word\"", letterCase, " / , case 1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(described(LayoutCompare::Compare(c.text1, c.text2, {}, nullptr, c.options)),
                  c.found)
            << c.text1.toStdString();

    // A typography run stands at its words, placed at its other place as a move is.
    const QString text1 = QStringLiteral("an offer \u2013 now");
    const Comparison found = LayoutCompare::Compare(text1, u"an offer -- now");
    const Difference& dash = found.side(Side::One).typography.at(0);
    EXPECT_EQ(text1.mid(dash.span.start, dash.span.length), QStringLiteral("\u2013"));
    EXPECT_EQ(dash.other.start, found.side(Side::Two).typography.at(0).span.start);
}

// The changed characters of each side as "text@offset" in the run's words, " " between them.
QString changesOf(const std::vector<CharacterChange>& changes, QStringView words) {
    QStringList shown;
    for (const CharacterChange& change : changes)
        shown << QStringLiteral("%1@%2")
                     .arg(words.mid(change.inWords.start, change.inWords.length))
                     .arg(change.inWords.start);
    return shown.join(u' ');
}

TEST(LayoutOptionsTest, ReplacedRunsNameTheCharactersThatChanged) {
    const struct {
        const char* rule;
        QString text1, text2;
        QString changes1, changes2;
    } cases[] = {
        {"two letters swapped, with the one between them", "we recieve it", "we receive it", "ie@3",
         "ei@3"},
        {"a changed digit", "in 1998.", "in 1999.", "8@3", "9@3"},
        {"a letter only one side has", "the colour red", "the color red", "u@4", ""},
        {"an unchanged stretch shorter than three letters is changed", "x abcd y", "x xbcy y",
         "abcd@0", "xbcy@0"},
        {"unlike words change as a whole, alike ones letter by letter", "a quick brown fox",
         "a slow browne fox", "quick@0", "slow@0 e@10"},
        {"a ligature changes as one character", QStringLiteral("to \uFB01nd it"), "to fund it",
         QStringLiteral("\uFB01@0"), "u@1"},
        {"a letter and its combining accent change together", QStringLiteral("the cafe\u0301s"),
         "the cafes", QStringLiteral("e\u0301@3"), "e@3"},
    };
    for (const auto& c : cases) {
        const Comparison found = LayoutCompare::Compare(c.text1, c.text2);
        const ComparedSide& in1 = found.side(Side::One);
        const ComparedSide& in2 = found.side(Side::Two);
        ASSERT_EQ(in1.differences.size(), 1u) << c.rule;
        ASSERT_EQ(in2.differences.size(), 1u) << c.rule;
        EXPECT_EQ(in1.differences[0].opposite, 0) << c.rule;
        EXPECT_EQ(in1.differences[0].refinement, Refinement::Refined) << c.rule;
        EXPECT_EQ(changesOf(in1.changesOf(0), in1.differenceWords[0]), c.changes1) << c.rule;
        EXPECT_EQ(changesOf(in2.changesOf(0), in2.differenceWords[0]), c.changes2) << c.rule;
    }

    // A word split at a line's end: the change stands on the line that holds it.
    const QString split = "a docu-\r\nment b";
    const Comparison joinedWord = LayoutCompare::Compare(split, u"a documant b");
    const std::vector<CharacterChange> changes = joinedWord.side(Side::One).changesOf(0);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].span.start, split.indexOf(u"ment") + 1);
    EXPECT_EQ(changes[0].inWords.start, 5);

    // Runs between other unchanged words are not opposite; a long run is not looked into.
    const Comparison apart = LayoutCompare::Compare(u"a b c inserted d", u"a x c d");
    EXPECT_EQ(apart.side(Side::One).differences[1].opposite, -1);
    EXPECT_EQ(apart.side(Side::One).differences[1].refinement, Refinement::None);
    const QString longWord(CharacterChanges::kMaxRunCharacters + 1, u'x');
    const Comparison tooLong = LayoutCompare::Compare(QString("a " + longWord + " b"), u"a y b");
    EXPECT_EQ(tooLong.side(Side::Two).differences[0].refinement, Refinement::TooLong);
    EXPECT_TRUE(tooLong.side(Side::Two).changesOf(0).empty());
}

}  // namespace
