// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

namespace corvella {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Warning };
enum class MessageAnswer { Ok, Yes, No };

// One message box exactly as the program asks for it. Line breaks in the text are CR, LF or
// CR LF as the caller wrote them.
struct MessageRequest {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// The open-file dialog's settings.
struct OpenFilesRequest {
    QString title;
    QString filter;
    bool allowMultiple = false;
};

// Every message box and dialog of the program goes through this service, so that tests can read
// and answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer showMessage(const MessageRequest& request) = 0;
    // Full paths of the chosen files in the dialog's order; empty when the user cancelled.
    virtual QStringList getOpenFileNames(const OpenFilesRequest& request) = 0;
};

// A box titled with the application title.
MessageAnswer MsgBox(Dialogs& dialogs, const QString& text,
                     MessageButtons buttons = MessageButtons::Ok,
                     MessageIcon icon = MessageIcon::None);

}  // namespace corvella
