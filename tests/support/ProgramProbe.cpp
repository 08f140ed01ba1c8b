// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The real program, started with its command line, but with scripted dialogs and printers: once
// the files of the command line are loaded it prints what the window holds as JSON and ends.
// With CORVELLA_PROBE_CLOSE_WHEN set to a file name, the window also closes as soon as that file
// exists, even in the middle of a load.
#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "tests/support/TestServices.h"
#include "window/main/Form1.h"
#include "window/main/Program.h"

using corvella::Form1;
using corvella::testing::TestServices;

int main(int argc, char** argv) {
    std::unique_ptr<TestServices> test;
    corvella::ProgramHooks hooks;
    hooks.services = [&] {
        test = std::make_unique<TestServices>();
        test->services.endProcess = nullptr;  // the program's own end
        if (const QString trigger = qEnvironmentVariable("CORVELLA_PROBE_CLOSE_WHEN");
            !trigger.isEmpty()) {
            auto* poll = new QTimer(qApp);
            QObject::connect(poll, &QTimer::timeout, [trigger] {
                if (!QFile::exists(trigger)) return;
                for (QWidget* window : QApplication::topLevelWidgets())
                    if (auto* form = qobject_cast<Form1*>(window)) form->close();
            });
            poll->start(50);
        }
        return &test->services;
    };
    hooks.afterOpening = [&](Form1& form) {
        QJsonArray messages;
        for (const corvella::MessageRequest& message : test->dialogs.messages)
            messages.append(
                QJsonObject{{"text", message.text},
                            {"title", message.title},
                            {"warning", message.icon == corvella::MessageIcon::Warning}});
        const QJsonObject state{{"pane1", form.pane(1).text()},
                                {"pane2", form.pane(2).text()},
                                {"option1", form.Option(1)->isChecked()},
                                {"shown", form.isVisible()},
                                {"review", form.reviewWindow() && form.reviewWindow()->isVisible()},
                                {"messages", messages}};
        const QByteArray json = QJsonDocument(state).toJson(QJsonDocument::Compact);
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        std::fflush(stdout);
        form.close();  // the shut-down removes the extractor copy and ends the process
    };
    return corvella::RunProgram(argc, argv, hooks);
}
