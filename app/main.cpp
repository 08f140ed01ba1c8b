#include <QApplication>

#include "app/Form1.h"
#include "app/QtDialogs.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    corvella::QtDialogs dialogs;
    corvella::QtEventPump events;
    corvella::Services services{dialogs, events};
    corvella::Form1 form(services);
    dialogs.setParent(&form);
    form.Form_Load();
    form.show();
    return app.exec();
}
