#include <QApplication>

#include "app/Form1.h"
#include "app/HomePage.h"
#include "app/QtDialogs.h"
#include "app/SettingsStore.h"
#include "compare/LibreOfficeWord1.h"
#include "output/GetSetPrinter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    corvella::QtDialogs dialogs;
    corvella::QtEventPump events;
    corvella::IniSettingsStore settings;
    corvella::CupsPrinters printers;
    corvella::ClockSeededRandom random;
    corvella::XdgLauncher launcher;
    corvella::LibreOfficeWord1 word(events);
    corvella::Services services{dialogs, events};
    services.settings = &settings;
    services.printers = &printers;
    services.random = &random;
    services.launcher = &launcher;
    services.word = &word;

    corvella::Form1 form(services);
    dialogs.setParent(&form);
    form.Form_Load();  // its messages come before the window
    form.show();
    return app.exec();
}
