#pragma once

#include <QString>
#include <QStringList>

namespace corvella {

// The PDF printer the Save-as-PDF commands print to.
inline const QString kPdfPrinterName = QStringLiteral("Kestrovan PDF Writer");

// The system's printers.
class Printers {
public:
    virtual ~Printers() = default;
    // Names of the installed printers in the print system's order. A printer's name is its
    // description where one is set, else its queue name. Throws Failure when they cannot be listed.
    virtual QStringList InstalledPrinters() = 0;
};

// The print system: CUPS through libcups.
class CupsPrinters : public Printers {
public:
    QStringList InstalledPrinters() override;
};

}  // namespace corvella
