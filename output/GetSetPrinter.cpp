// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/GetSetPrinter.h"

#include <cups/cups.h>

#include <QDir>
#include <QFile>

namespace corvella {

namespace {

// The destinations of the print system, freed when done with.
class Destinations {
public:
    Destinations() { count_ = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_); }
    ~Destinations() { cupsFreeDests(count_, dests_); }
    Destinations(const Destinations&) = delete;
    Destinations& operator=(const Destinations&) = delete;

    int count() const { return count_; }
    cups_dest_t* begin() { return dests_; }
    cups_dest_t* end() { return dests_ + count_; }
    cups_dest_t* data() { return dests_; }

    // Listing found nothing because the print system failed, not because it has no printers.
    bool failed() const {
        const ipp_status_t status = cupsLastError();
        return count_ == 0 && status > IPP_STATUS_OK_EVENTS_COMPLETE &&
               status != IPP_STATUS_ERROR_NOT_FOUND;
    }

private:
    cups_dest_t* dests_ = nullptr;
    int count_ = 0;
};

QString shownName(const cups_dest_t& dest) {
    const char* info = cupsGetOption("printer-info", dest.num_options, dest.options);
    return QString::fromUtf8(info != nullptr && *info != '\0' ? info : dest.name);
}

[[noreturn]] void throwLastError() {
    throw PrinterFailure(int(cupsLastError()), QString::fromUtf8(cupsLastErrorString()));
}

QString lpoptionsPath() { return QDir::homePath() + QStringLiteral("/.cups/lpoptions"); }

bool writeDefault(Destinations& dests, const std::optional<QString>& queue) {
    bool found = !queue.has_value();
    for (cups_dest_t& dest : dests) {
        const bool chosen =
            queue && dest.instance == nullptr && QString::fromUtf8(dest.name) == *queue;
        dest.is_default = chosen ? 1 : 0;
        found = found || chosen;
    }
    if (!found) return false;
    return cupsSetDests2(CUPS_HTTP_DEFAULT, dests.count(), dests.data()) == 0;
}

}  // namespace

QStringList CupsPrinters::InstalledPrinters() {
    Destinations dests;
    QStringList names;
    for (const cups_dest_t& dest : dests) {
        if (dest.instance != nullptr) continue;  // instances share their queue's printer
        names << shownName(dest);
    }
    return names;
}

QString CupsPrinters::DefaultPrinterName() {
    Destinations dests;
    if (dests.failed()) throwLastError();
    for (const cups_dest_t& dest : dests)
        if (dest.is_default) return shownName(dest);
    return QString();
}

DefaultChoice CupsPrinters::UserDefaultChoice() {
    // What `lpoptions -d` wrote: the "Default" line of the user's lpoptions file.
    QFile file(lpoptionsPath());
    if (!file.exists()) return {};
    if (!file.open(QIODevice::ReadOnly))
        throw PrinterFailure(int(file.error()), file.errorString());
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith("Default ")) continue;
        const QByteArray destination = line.mid(8).split(' ').value(0);
        return {QString::fromUtf8(destination.split('/').value(0))};
    }
    return {};
}

bool CupsPrinters::SetUserDefault(const QString& printerName) {
    const QString queue = QueueOf(printerName);
    if (queue.isEmpty()) return false;
    Destinations dests;
    return writeDefault(dests, queue);
}

bool CupsPrinters::RestoreUserDefault(const DefaultChoice& choice) {
    Destinations dests;
    return writeDefault(dests, choice.queue);
}

QString CupsPrinters::QueueOf(const QString& printerName) {
    Destinations dests;
    for (const cups_dest_t& dest : dests)
        if (dest.instance == nullptr && shownName(dest) == printerName)
            return QString::fromUtf8(dest.name);
    return QString();
}

void CupsPrinters::PrintTextFile(const QString& queue, const QString& path, const QString& title) {
    if (queue.isEmpty())
        throw PrinterFailure(int(IPP_STATUS_ERROR_NOT_FOUND),
                             QStringLiteral("The print system has no such printer"));
    cups_option_t* options = nullptr;
    int count = cupsAddOption("document-format", "text/plain", 0, &options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(),
                                   QFile::encodeName(path).constData(), title.toUtf8().constData(),
                                   count, options);
    cupsFreeOptions(count, options);
    if (job == 0) throwLastError();
}

namespace GetSetPrinter {

QString DefaultPrinterErrorText(int number, const QString& description) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Error No: ") + QString::number(number) + crlf + description + crlf +
           QStringLiteral("Has occured in ") + QStringLiteral("modPrinters.GetDefaultPrinter") +
           crlf + QStringLiteral("Please contact Technical Support");
}

QString GetDefaultPrinter(Printers& printers, Dialogs& dialogs) {
    try {
        return printers.DefaultPrinterName();
    } catch (const PrinterFailure& failure) {
        MsgBox(dialogs, DefaultPrinterErrorText(failure.number(), failure.description()));
    } catch (const Failure& failure) {
        MsgBox(dialogs, DefaultPrinterErrorText(0, failure.description()));
    }
    return QString();
}

bool SetPrinterAsDefault(Printers& printers, const QString& printerName) {
    try {
        return printers.SetUserDefault(printerName);
    } catch (const Failure&) {
        return false;
    }
}

}  // namespace GetSetPrinter

}  // namespace corvella
