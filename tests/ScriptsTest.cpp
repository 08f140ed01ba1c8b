// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The layout-free comparison on text of other scripts, extracted from real PDFs: the corpus's
// Japanese and Greek reference cards (Japanese without spaces between words), and Arabic (right
// to left, with vowel marks) and Russian (with stress accents) set in Debian's DejaVu Sans, Chinese
// (no spaces between words) in WenQuanYi Micro Hei and Hindi (vowel signs) in Lohit Devanagari.
// Every mark and changed character stands on the text's own characters: never inside a surrogate
// pair, never between a letter and its combining marks.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "diff/layout/LayoutComparison.h"
#include "tests/support/LayoutBook.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestPdfs.h"

using namespace corvella;
namespace TestPdfs = corvella::testing::TestPdfs;
namespace LayoutBook = corvella::testing::LayoutBook;

namespace {

// A range's ends fall between characters a reader sees as one: a surrogate pair, or a letter and
// a combining mark after it (the extractor may also set a mark after a space, where a word starts
// with it).
bool cutsACharacter(QStringView text, qsizetype at) {
    if (at <= 0 || at >= text.size()) return false;
    return (text[at - 1].isHighSurrogate() && text[at].isLowSurrogate()) ||
           (text[at].combiningClass() != 0 && !text[at - 1].isSpace());
}

void expectWholeCharacters(const QString& text, const std::vector<TextRange>& ranges,
                           const char* what) {
    for (const TextRange& range : ranges) {
        ASSERT_TRUE(range.start >= 0 && range.start + range.length <= text.size()) << what;
        EXPECT_FALSE(cutsACharacter(text, range.start)) << what << " at " << range.start;
        EXPECT_FALSE(cutsACharacter(text, range.start + range.length))
            << what << " at " << range.start;
    }
}

// Compares the two texts and checks where every mark and change stands; returns the comparison.
Comparison compared(const QString& text1, const QString& text2) {
    const Comparison found = LayoutCompare::Compare(text1, text2);
    for (const Side side : kBothSides) {
        const QString& text = side == Side::One ? text1 : text2;
        const ComparedSide& compared = found.side(side);
        expectWholeCharacters(text, compared.differenceMarks(), "mark");
        std::vector<TextRange> changes;
        for (size_t d = 0; d < compared.differences.size(); ++d)
            for (const CharacterChange& change : compared.changesOf(d)) {
                changes.push_back(change.span);
                EXPECT_EQ(
                    text.mid(change.span.start, change.span.length),
                    compared.differenceWords[d].mid(change.inWords.start, change.inWords.length));
            }
        expectWholeCharacters(text, changes, "change");
    }
    return found;
}

// Every seventh word of the text changed: a letter dropped from its middle.
QString edited(const QString& text) {
    QStringList words = text.split(u' ');
    for (qsizetype w = 3; w < words.size(); w += 7)
        if (words[w].size() > 2) words[w].remove(words[w].size() / 2, 1);
    return words.join(u' ');
}

TEST(ScriptsTest, CorpusReferenceCardsKeepTheirCharactersWhole) {
    const QDir corpus(qEnvironmentVariable("CORVELLA_CORPUS_DIR"));
    int cards = 0;
    for (const char* name : {"scripts/refcard-japanese.pdf", "scripts/refcard-greek.pdf"}) {
        if (!corpus.exists(QLatin1String(name))) continue;
        SCOPED_TRACE(name);
        ++cards;
        const QString text = LayoutBook::PaneText(corpus.filePath(QLatin1String(name)));
        ASSERT_FALSE(text.isEmpty());
        EXPECT_TRUE(compared(text, text).same());
        const Comparison found = compared(text, edited(text));
        EXPECT_FALSE(found.same());
        EXPECT_FALSE(found.side(Side::One).changes.empty());
    }
    if (cards == 0) GTEST_SKIP() << "no reference cards in " << corpus.path().toStdString();
}

TEST(ScriptsTest, ChangesStandOnTheirLettersInArabicRussianChineseAndHindi) {
    QTemporaryDir folder;
    const struct {
        QString before, after;
        QString changed1, changed2;  // among the characters found changed, in each file
    } cases[] = {
        // "He wrote the lesson in the big book." with the last vowel mark of a word changed.
        {QStringLiteral("\u0643\u064E\u062A\u064E\u0628\u064E \u0627\u0644\u062F\u0651\u064E"
                        "\u0631\u0652\u0633\u064E \u0641\u0650\u064A \u0627\u0644\u0652\u0643"
                        "\u0650\u062A\u064E\u0627\u0628\u0650 \u0627\u0644\u0652\u0643\u064E"
                        "\u0628\u0650\u064A\u0631\u0650"),
         QStringLiteral("\u0643\u064E\u062A\u064E\u0628\u064E \u0627\u0644\u062F\u0651\u064E"
                        "\u0631\u0652\u0633\u064E \u0641\u0650\u064A \u0627\u0644\u0652\u0643"
                        "\u0650\u062A\u064E\u0627\u0628\u064F \u0627\u0644\u0652\u0643\u064E"
                        "\u0628\u0650\u064A\u0631\u0650"),
         QStringLiteral("\u0650"), QStringLiteral("\u064F")},
        // "The cat drinks milk" with a stressed vowel and an ending changed.
        {QStringLiteral(
             "\u041A\u043E\u0301\u0448\u043A\u0430 \u043F\u044C\u0451\u0442 "
             "\u043C\u043E\u043B\u043E\u043A\u043E\u0301 \u0443\u0442\u0440\u043E\u043C"),
         QStringLiteral(
             "\u041A\u043E\u0301\u0448\u043A\u0430 \u043F\u044C\u0451\u0442 "
             "\u043C\u043E\u043B\u043E\u043A\u0430\u0301 \u0443\u0442\u0440\u043E\u043C"),
         QStringLiteral("\u043E"), QStringLiteral("\u0430")},
        // "We go to Beijing today to see friends": "today" made "tomorrow", no spaces between
        // words.
        {QStringLiteral("\u6211\u4EEC\u4ECA\u5929\u53BB\u5317\u4EAC\u770B\u670B\u53CB"),
         QStringLiteral("\u6211\u4EEC\u660E\u5929\u53BB\u5317\u4EAC\u770B\u670B\u53CB"),
         QStringLiteral("\u4ECA"), QStringLiteral("\u660E")},
        // "Ram goes home" made "Ram comes home": a consonant made a vowel, vowel signs around it.
        {QStringLiteral("\u0930\u093E\u092E \u0918\u0930 \u091C\u093E\u0924\u093E \u0939\u0948"),
         QStringLiteral("\u0930\u093E\u092E \u0918\u0930 \u0906\u0924\u093E \u0939\u0948"),
         QStringLiteral("\u091C"), QStringLiteral("\u0906")},
    };
    for (const auto& c : cases) {
        const QString pdf1 = folder.filePath("one.pdf"), pdf2 = folder.filePath("two.pdf");
        ASSERT_TRUE(TestPdfs::WriteTextPdf(pdf1, {c.before + "\n" + c.before}));
        ASSERT_TRUE(TestPdfs::WriteTextPdf(pdf2, {c.before + "\n" + c.after}));
        const QString text1 = LayoutBook::PaneText(pdf1);
        const QString text2 = LayoutBook::PaneText(pdf2);
        const Comparison found = compared(text1, text2);
        ASSERT_EQ(found.side(Side::One).changes.size(), 1u) << text2.toStdString();
        ASSERT_FALSE(found.side(Side::Two).changes.empty()) << text2.toStdString();
        const TextRange one = found.side(Side::One).changes[0].span;
        const TextRange two = found.side(Side::Two).changes[0].span;
        // The extractor sets a combining mark where its glyph stands, not always after its letter.
        EXPECT_TRUE(text1.mid(one.start, one.length).contains(c.changed1));
        EXPECT_TRUE(text2.mid(two.start, two.length).contains(c.changed2));
    }
}

}  // namespace
