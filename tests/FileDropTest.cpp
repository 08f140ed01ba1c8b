// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Dropping files onto the main window: which drops load which pane, decided and on the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>

#include "tests/support/QStringPrinter.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/main/FileDrop.h"
#include "window/main/Form1.h"

namespace corvella {
namespace {

class FileDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const QString name : {"left.pdf", "right.pdf", "UPPER.PDF"})
            ASSERT_TRUE(
                testing::TestPdfs::WriteTextPdf(path(name), {name.section('.', 0, 0) + " text"}));
        ASSERT_TRUE(QFile(path("notes.txt")).open(QIODevice::WriteOnly));
        ASSERT_TRUE(QDir(folder.path()).mkdir("folder.pdf"));
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    QList<QUrl> urls(const QStringList& names) const {
        QList<QUrl> out;
        for (const QString& name : names) out << QUrl::fromLocalFile(path(name));
        return out;
    }

    QTemporaryDir folder;
};

TEST_F(FileDropTest, OneOrTwoLocalPdfsLoadAndAnythingElseIsRefused) {
    struct Row {
        QList<QUrl> urls;
        bool leftHalf;
        std::vector<std::pair<int, QString>> loads;
    };
    const Row rows[] = {
        {urls({"left.pdf"}), true, {{1, path("left.pdf")}}},
        {urls({"UPPER.PDF"}), false, {{2, path("UPPER.PDF")}}},
        {urls({"right.pdf", "left.pdf"}), true, {{1, path("right.pdf")}, {2, path("left.pdf")}}},
        {{}, true, {}},
        {urls({"notes.txt"}), true, {}},
        {{QUrl("https://example.org/left.pdf")}, true, {}},
        {urls({"folder.pdf"}), true, {}},
        {urls({"missing.pdf"}), false, {}},
        {urls({"left.pdf", "notes.txt"}), true, {}},
        {urls({"left.pdf", "right.pdf", "left.pdf"}), true, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QUrl::toStringList(row.urls).join(' ').toStdString());
        std::vector<std::pair<int, QString>> loads;
        for (const FileDrop::Load& load : FileDrop::Plan(row.urls, row.leftHalf))
            loads.emplace_back(load.pane, load.path);
        EXPECT_EQ(loads, row.loads);
    }
    EXPECT_EQ(FileDrop::Action(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction), Qt::CopyAction);
    EXPECT_EQ(FileDrop::Action(Qt::MoveAction | Qt::LinkAction), Qt::LinkAction);
    EXPECT_EQ(FileDrop::Action(Qt::MoveAction), Qt::IgnoreAction) << "a dropped file never moves";
}

// Drags delivered as the window system delivers them: to the widget under the pointer, from
// where they travel up to the window.
TEST_F(FileDropTest, TheWindowLoadsDroppedPdfsIntoTheirPanesAndRefusesTheRest) {
    testing::TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();
    auto files = [&](const QStringList& names) {
        auto* data = new QMimeData;
        data->setUrls(urls(names));
        return data;
    };
    auto* text = new QMimeData;
    text->setText("dropped words");
    QWidget* pane1 = form.RichTextBox(1)->viewport();
    QWidget* pane2 = form.RichTextBox(2)->viewport();
    struct Row {
        QWidget* target;
        QMimeData* data;
        bool busyAtEnter, busyAtDrop;
        bool taken;            // the drag shows that the window would take it
        QString pane1, pane2;  // the texts after the drop
    };
    const QString left = "left text\r\n\r\n\f\r\n", right = "right text\r\n\r\n\f\r\n";
    const Row rows[] = {
        {pane1, files({"left.pdf"}), false, false, true, left, "2"},
        {form.PushButton(4), files({"right.pdf"}), false, false, true, "1", right},
        {pane2, files({"left.pdf", "right.pdf"}), false, false, true, left, right},
        {pane1, text, false, false, false, "1", "2"},
        {pane2, files({"notes.txt"}), false, false, false, "1", "2"},
        {&form, files({"left.pdf", "right.pdf", "left.pdf"}), false, false, false, "1", "2"},
        {pane1, files({"left.pdf"}), true, true, false, "1", "2"},
        {pane1, files({"left.pdf"}), false, true, true, "1", "2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.data->urls().size());
        std::unique_ptr<QMimeData> data(row.data);
        form.pane(1).setText("1");
        form.pane(2).setText("2");
        const QPoint where(20, 10);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        form.BusyFlag = row.busyAtEnter;
        QDragEnterEvent enter(where, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(row.target, &enter);
        QDragMoveEvent move(where, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(row.target, &move);
        form.BusyFlag = row.busyAtDrop;
        QDropEvent drop(where, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(row.target, &drop);
        if (!enter.isAccepted()) static_cast<QObject&>(form).event(&drop);  // refused all the same
        QApplication::processEvents();  // the loads run once the drop is answered
        form.BusyFlag = false;

        EXPECT_EQ(enter.isAccepted(), row.taken);
        EXPECT_EQ(move.isAccepted(), row.taken);
        EXPECT_EQ(drop.isAccepted() && drop.dropAction() == Qt::CopyAction,
                  row.pane1 != "1" || row.pane2 != "2");
        EXPECT_EQ(form.pane(1).text(), row.pane1);
        EXPECT_EQ(form.pane(2).text(), row.pane2);
    }
    EXPECT_TRUE(test.dialogs.messages.empty()) << test.dialogs.texts().join("|").toStdString();
}

}  // namespace
}  // namespace corvella
