// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "core/Dialogs.h"
#include "tests/support/QStringPrinter.h"

namespace corvella::testing {

// Records every box and dialog the program asks for and answers them from a script.
class ScriptedDialogs : public Dialogs {
public:
    MessageAnswer showMessage(const MessageRequest& request) override {
        messages.push_back(request);
        if (onMessage) onMessage(request);
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }

    QStringList getOpenFileNames(const OpenFilesRequest& request) override {
        fileRequests.push_back(request);
        if (fileSelections.empty()) return {};
        QStringList chosen = fileSelections.front();
        fileSelections.pop_front();
        return chosen;
    }

    QStringList texts() const {
        QStringList out;
        for (const MessageRequest& m : messages) out << m.text;
        return out;
    }

    std::vector<MessageRequest> messages;
    std::deque<MessageAnswer> answers;  // Yes/No answers in order; Yes (or OK) when empty
    std::function<void(const MessageRequest&)> onMessage;

    std::vector<OpenFilesRequest> fileRequests;
    std::deque<QStringList> fileSelections;  // an empty list is a cancelled dialog
};

}  // namespace corvella::testing
