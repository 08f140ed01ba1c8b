#include "output/GetSetPrinter.h"

#include <cups/cups.h>

namespace corvella {

QStringList CupsPrinters::InstalledPrinters() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& dest = dests[i];
        if (dest.instance != nullptr) continue;  // instances share their queue's printer
        const char* info = cupsGetOption("printer-info", dest.num_options, dest.options);
        names << QString::fromUtf8(info != nullptr && *info != '\0' ? info : dest.name);
    }
    cupsFreeDests(count, dests);
    return names;
}

}  // namespace corvella
