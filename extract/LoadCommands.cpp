// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "extract/LoadCommands.h"

#include <QFileInfo>
#include <functional>

#include "core/ErrorReport.h"
#include "core/LoadCancel.h"
#include "core/Main.h"
#include "display/ShowRTF.h"
#include "extract/PDFToText.h"
#include "extract/TextIntoPane.h"
#include "extract/TextPreview.h"

namespace corvella {

namespace {

QString collapsePairs(const QString& path) {
    QString out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        out += path.at(i);
        if (path.at(i) == u'/' && i + 1 < path.size() && path.at(i + 1) == u'/') ++i;
    }
    return out;
}

// The pane's content kept while a load writes it: given back when the load is stopped, forgotten
// when it ends otherwise.
class KeptContent {
public:
    explicit KeptContent(PaneDocument& pane) : pane_(pane) { pane_.keepContent(); }
    ~KeptContent() { pane_.dropKeptContent(); }
    KeptContent(const KeptContent&) = delete;
    KeptContent& operator=(const KeptContent&) = delete;
    void restore() { pane_.restoreContent(); }

private:
    PaneDocument& pane_;
};

struct LoadCommand {
    QString location;
    int paneNumber;
    bool fixPaths;
    void (*fileToRich)(PaneDocument&, const QString&, Services&);
};

// Converts one PDF and loads its text. Without any text file the user is told so, rather than
// left with an empty pane and no word.
void loadOne(MainWindow& window, const LoadCommand& command, Procedure& proc, QString path,
             int firstLine, const std::vector<PageRanges::Range>& pages) {
    Services& services = window.services();
    PaneDocument& pane = window.pane(command.paneNumber);
    proc.step(firstLine, [&] {
        // A pane that can shows the text's first pages while the later ones are still being
        // extracted.
        TextPreview preview(pane);
        if (pane.showsPreview())
            RTB::PDFToText(
                path, services, [&](const QByteArray& piece) { preview.add(piece); }, pages);
        else
            RTB::PDFToText(path, services, {}, pages);
    });
    proc.step(firstLine + 2, [&] { command.fileToRich(pane, path, services); });
    proc.step(firstLine + 4, [&] {
        if (Main::FileExists(path)) Main::DeleteFileQuietly(services.events, path);
    });
}

LoadCommand commandFor(int paneNumber) {
    if (paneNumber == 1)
        return {QStringLiteral("Form1.PushButton3_Click"), 1, true, RTB::FileToRich1};
    return {QStringLiteral("Form1.PushButton4_Click"), 2, false, RTB::FileToRich2};
}

// `choose` gives the chosen files: the open-file dialog's, or those given from outside.
void runLoad(MainWindow& window, int paneNumber, const std::function<QStringList()>& choose,
             const std::vector<PageRanges::Range>& pages = {}) {
    const LoadCommand command = commandFor(paneNumber);
    Services& services = window.services();
    Procedure proc(services.dialogs, command.location);
    PaneDocument& pane = window.pane(command.paneNumber);
    QStringList chosen;
    QStringList list;

    const bool comparedBefore = window.ComparisonDone;
    proc.step(100, [&] { window.ComparisonDone = false; });
    proc.step(102, [&] { ShowRTF(window); });
    proc.step(104, [&] { chosen = choose(); });
    // A cancelled dialog changes nothing.
    if (chosen.isEmpty()) return;
    const LoadCancel::Scope running;
    KeptContent before(pane);
    try {
        proc.step(106, [&] { window.setPointer(PointerShape::Hourglass); });
        proc.step(108, [&] { list = SelectionList(chosen); });
        proc.step(110, [&] { pane.setText(QString()); });
        QStringList loaded;
        if (list.size() == 1) {
            loadOne(window, command, proc, list.at(0), 112, pages);
            loaded << list.at(0);
        } else {
            for (qsizetype i = 1; i < list.size(); ++i) {
                QString path;
                proc.step(118, [&] {
                    path = list.at(0) + u'/' + list.at(i);
                    if (command.fixPaths) path = FixDoubleBackslash(path);
                });
                loadOne(window, command, proc, path, 120, pages);
                loaded << path;
            }
        }
        proc.step(126, [&] { pane.appendText(QStringLiteral("\r")); });
        proc.step(128, [&] { window.selectOption(1); });
        proc.step(130, [&] { window.setPointer(PointerShape::Default); });
        window.textLoadedFrom(command.paneNumber, loaded);
    } catch (const LoadCancel::Cancelled&) {
        // Stopped while extracting (Esc, a time limit): the pane gets back its text, colours and
        // selection, and the window leaves its busy state without a word.
        before.restore();
        window.ComparisonDone = comparedBefore;
        window.setPointer(PointerShape::Default);
    }
}

QStringList chooseInDialog(MainWindow& window) {
    return window.services().dialogs.getOpenFileNames(LoadDialogRequest());
}

}  // namespace

OpenFilesRequest LoadDialogRequest() {
    return {QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files"),
            QStringLiteral("PDF Files (*.pdf)"), true};
}

QStringList SelectionList(const QStringList& chosenPaths) {
    if (chosenPaths.size() <= 1) return chosenPaths;
    QStringList list{QFileInfo(chosenPaths.first()).path()};
    for (const QString& path : chosenPaths) list << QFileInfo(path).fileName();
    return list;
}

QString FixDoubleBackslash(const QString& path) {
    if (!path.startsWith(QStringLiteral("//"))) return collapsePairs(path);
    qsizetype first = 0;
    while (first < path.size() && path.at(first) == u'/') ++first;
    return QStringLiteral("//") + collapsePairs(path.mid(first));
}

void PushButton3_Click(MainWindow& window) {
    runLoad(window, 1, [&] { return chooseInDialog(window); });
}

void PushButton4_Click(MainWindow& window) {
    runLoad(window, 2, [&] { return chooseInDialog(window); });
}

void LoadChosenFiles(MainWindow& window, int paneNumber, const QStringList& chosenPaths,
                     const std::vector<PageRanges::Range>& pages) {
    runLoad(
        window, paneNumber, [&] { return chosenPaths; }, pages);
}

}  // namespace corvella
