#include "output/Wordpad.h"

namespace corvella::Wordpad {

QString GetWordpadPath(Printers& printers) {
    try {
        return printers.QueueOf(kPdfPrinterName);
    } catch (const Failure&) {
        return QString();
    }
}

}  // namespace corvella::Wordpad
