#pragma once

#include "app/Dialogs.h"
#include "app/EventPump.h"

namespace corvella {

// The platform services the commands use. The program passes the real ones; tests script them.
struct Services {
    Dialogs& dialogs;
    EventPump& events;
};

}  // namespace corvella
