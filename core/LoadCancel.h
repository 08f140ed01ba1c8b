// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Stopping a load while its extractors run (Esc in the window, a time limit on the command line).
// Loads nest when the window starts one while another waits; a request stops the innermost, the
// one whose extractors are being waited for.
namespace corvella::LoadCancel {

// Thrown by an extractor wait once a request came and the extractors are stopped. Deliberately no
// std::exception: it passes every error-report step up to the load, which ends without a message.
struct Cancelled {};

// A load under way, from its start to its end.
class Scope {
public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

// Asks the innermost load under way to stop; nothing happens when no load runs.
void Request();

// A stop was asked of the innermost load under way.
bool Requested();

}  // namespace corvella::LoadCancel
