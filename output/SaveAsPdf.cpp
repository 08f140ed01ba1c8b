// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/SaveAsPdf.h"

#include "core/ErrorReport.h"
#include "core/Main.h"
#include "core/TempFolder.h"
#include "output/GetSetPrinter.h"
#include "output/SaveRTB.h"
#include "output/Wordpad.h"

namespace corvella {

namespace {

void saveAsPdf(MainWindow& window, const QString& location, int textPane, int workPane) {
    Services& services = window.services();
    Procedure proc(services.dialogs, location);
    QString path;
    std::optional<DefaultChoice> remembered;
    bool printerReady = false;

    proc.step(100, [&] { path = PrintTempFile(); });
    proc.step(102, [&] { Main::DeleteFileQuietly(services.events, path); });
    proc.step(104, [&] { window.setPointer(PointerShape::Hourglass); });
    proc.step(106, [&] {
        Printers& printers = Require(services.printers, "The print system");
        GetSetPrinter::GetDefaultPrinter(printers, services.dialogs);
        try {
            remembered = printers.UserDefaultChoice();
        } catch (const Failure&) {
            remembered.reset();  // unknown: the default is then left alone altogether
        }
    });
    proc.step(108, [&] {
        Printers& printers = Require(services.printers, "The print system");
        printerReady = remembered ? GetSetPrinter::SetPrinterAsDefault(printers, kPdfPrinterName)
                                  : !Wordpad::GetWordpadPath(printers).isEmpty();
    });
    if (printerReady) {
        auto print = [&](int paneNumber, int firstLine) {
            QString queue;
            proc.step(firstLine,
                      [&] { RTB::SaveRTBToFile(window.pane(paneNumber), path, services); });
            proc.step(firstLine + 2, [&] {
                queue = Wordpad::GetWordpadPath(Require(services.printers, "The print system"));
            });
            proc.step(firstLine + 4, [&] {
                // To the PDF printer by name, so the job cannot reach another printer.
                Require(services.printers, "The print system")
                    .PrintTextFile(queue, path, QStringLiteral("kestrovan"));
            });
        };
        bool textShown = false;
        bool workShown = false;
        proc.step(110, [&] { textShown = window.pane(textPane).isShown(); });
        if (textShown) {
            print(textPane, 112);
        } else {
            proc.step(118, [&] { workShown = window.pane(workPane).isShown(); });
            if (workShown)
                print(workPane, 120);
            else
                proc.step(126,
                          [&] { MsgBox(services.dialogs, QStringLiteral("savertb problem")); });
        }
    }
    proc.step(128, [&] {
        if (remembered)
            Require(services.printers, "The print system").RestoreUserDefault(*remembered);
    });
    proc.step(130, [&] { window.setPointer(PointerShape::Default); });
}

}  // namespace

QString PrintTempFile() { return TempPath(QStringLiteral("kestrovan.txt")); }

void PushButton2_Click(MainWindow& window) {
    saveAsPdf(window, QStringLiteral("Form1.PushButton2_Click"), 1, 3);
}

void PushButton5_Click(MainWindow& window) {
    saveAsPdf(window, QStringLiteral("Form1.PushButton5_Click"), 2, 4);
}

}  // namespace corvella
