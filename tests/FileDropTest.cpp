// Dropping files onto the main window: which drops load which pane, on the real window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/FileDrop.h"
#include "app/Form1.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"

namespace corvella {
namespace {

using testing::TestServices;
namespace TestPdfs = testing::TestPdfs;

class FileDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(TestPdfs::WriteTextPdf(left, {"left text"}));
        ASSERT_TRUE(TestPdfs::WriteTextPdf(right, {"right text"}));
        ASSERT_TRUE(TestPdfs::WriteTextPdf(upper, {"upper text"}));
        QFile notes(folder.filePath("notes.txt"));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        ASSERT_TRUE(QDir(folder.path()).mkdir("folder.pdf"));
    }

    QUrl url(const QString& name) const { return QUrl::fromLocalFile(folder.filePath(name)); }

    QTemporaryDir folder;
    const QString left = folder.filePath("left.pdf");
    const QString right = folder.filePath("right.pdf");
    const QString upper = folder.filePath("UPPER.PDF");
};

TEST_F(FileDropTest, OneOrTwoLocalPdfsLoadAndAnythingElseIsRefused) {
    struct Row {
        QList<QUrl> urls;
        bool leftHalf;
        std::vector<std::pair<int, QString>> loads;
    };
    const QUrl remote("https://example.org/left.pdf");
    const Row rows[] = {
        {{url("left.pdf")}, true, {{1, left}}},
        {{url("left.pdf")}, false, {{2, left}}},
        {{url("UPPER.PDF")}, true, {{1, upper}}},
        {{url("right.pdf"), url("left.pdf")}, true, {{1, right}, {2, left}}},
        {{url("left.pdf"), url("right.pdf")}, false, {{1, left}, {2, right}}},
        {{}, true, {}},
        {{url("notes.txt")}, true, {}},
        {{remote}, true, {}},
        {{url("folder.pdf")}, true, {}},
        {{url("missing.pdf")}, false, {}},
        {{url("left.pdf"), url("notes.txt")}, true, {}},
        {{url("left.pdf"), url("right.pdf"), url("left.pdf")}, true, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QUrl::toStringList(row.urls).join(' ').toStdString());
        std::vector<std::pair<int, QString>> loads;
        for (const FileDrop::Load& load : FileDrop::Plan(row.urls, row.leftHalf))
            loads.emplace_back(load.pane, load.path);
        EXPECT_EQ(loads, row.loads);
    }
}

TEST(FileDropActionTest, ADropCopiesOrLinksButNeverMoves) {
    EXPECT_EQ(FileDrop::Action(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction), Qt::CopyAction);
    EXPECT_EQ(FileDrop::Action(Qt::MoveAction | Qt::LinkAction), Qt::LinkAction);
    EXPECT_EQ(FileDrop::Action(Qt::MoveAction), Qt::IgnoreAction);
}

// Drags as the window system delivers them: to the widget under the pointer, on to the window.
class WindowDropTest : public FileDropTest {
protected:
    void SetUp() override {
        FileDropTest::SetUp();
        form.Form_Load();
        form.show();
        QApplication::processEvents();
    }

    QWidget* paneArea(int number) { return form.RichTextBox(number)->viewport(); }

    // Drags the data over the widget and drops it there; true when the window took the drag.
    bool dragAndDrop(QWidget* target, QMimeData* data, bool busyAtDrop = false) {
        const QPointF where(20, 10);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(where.toPoint(), offered, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(where.toPoint(), offered, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        form.BusyFlag = busyAtDrop;
        QDropEvent drop(where, offered, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        if (!enter.isAccepted()) {
            // A refused drag never reaches the drop; the window would refuse it all the same.
            static_cast<QObject*>(&form)->event(&drop);
        }
        const bool took = enter.isAccepted() && move.isAccepted() && drop.isAccepted();
        EXPECT_TRUE(!took || drop.dropAction() == Qt::CopyAction);
        QApplication::processEvents();  // the loads run once the drop is answered
        form.BusyFlag = false;
        return took;
    }

    static QMimeData* files(const QList<QUrl>& urls) {
        auto* data = new QMimeData;
        data->setUrls(urls);
        return data;
    }

    TestServices test;
    Form1 form{test.services};
};

TEST_F(WindowDropTest, PdfsDroppedOnAPaneOrAHalfOfTheWindowLoadThroughTheLoadCommand) {
    const QString leftText = "left text\r\n\r\n\f\r\n";
    const QString rightText = "right text\r\n\r\n\f\r\n";
    struct Row {
        QWidget* target;
        QList<QUrl> urls;
        QString pane1, pane2;
    };
    const Row rows[] = {
        {paneArea(1), {url("left.pdf")}, leftText, ""},
        {paneArea(2), {url("right.pdf")}, "", rightText},
        {form.PushButton(3), {url("right.pdf")}, rightText, ""},
        {form.PushButton(4), {url("left.pdf")}, "", leftText},
        {paneArea(2), {url("left.pdf"), url("right.pdf")}, leftText, rightText},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target->parentWidget()->objectName().toStdString());
        form.pane(1).setText("");
        form.pane(2).setText("");
        std::unique_ptr<QMimeData> data(files(row.urls));
        EXPECT_TRUE(dragAndDrop(row.target, data.get()));
        EXPECT_EQ(form.pane(1).text(), row.pane1);
        EXPECT_EQ(form.pane(2).text(), row.pane2);
    }
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(WindowDropTest, AnythingElseIsRefusedDuringTheDragAndChangesNoPane) {
    struct Row {
        const char* what;
        QWidget* target;
        QMimeData* data;
        bool busy = false;
        bool busyAtDrop = false;
    };
    auto* text = new QMimeData;
    text->setText("dropped words");
    const Row rows[] = {
        {"text", paneArea(1), text},
        {"remote", paneArea(1), files({QUrl("https://example.org/left.pdf")})},
        {"not a PDF", paneArea(2), files({url("notes.txt")})},
        {"folder", paneArea(2), files({url("folder.pdf")})},
        {"three", &form, files({url("left.pdf"), url("right.pdf"), url("left.pdf")})},
        {"comparing", paneArea(1), files({url("left.pdf")}), true},
        {"comparing by the drop", paneArea(1), files({url("left.pdf")}), false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<QMimeData> data(row.data);
        form.pane(1).setText("keep 1");
        form.pane(2).setText("keep 2");
        form.BusyFlag = row.busy;
        EXPECT_FALSE(dragAndDrop(row.target, data.get(), row.busy || row.busyAtDrop));
        EXPECT_EQ(form.pane(1).text(), "keep 1");
        EXPECT_EQ(form.pane(2).text(), "keep 2");
    }
    EXPECT_TRUE(test.dialogs.messages.empty());
}

}  // namespace
}  // namespace corvella
