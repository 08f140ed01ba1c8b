#include "core/EventPump.h"

#include <QCoreApplication>

namespace corvella {

void QtEventPump::processEvents() { QCoreApplication::processEvents(); }

}  // namespace corvella
