// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace corvella {

// What --version prints below the name and version, the notice GNU programs print; help2man
// makes the manual pages' COPYRIGHT section of it.
inline constexpr const char* kLicenceNotice =
    "Copyright (C) 2026 Kestrovan\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

}  // namespace corvella
