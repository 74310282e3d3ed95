#include "data.h"
#include "fonts.h"
#include "main.h"
#include "messages.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(Messages::applicationTitle());
    QApplication::setApplicationDisplayName(Messages::applicationTitle());
    installFontSubstitutes();

    TDM dataModule;
    DM = &dataModule;
    Tfrm_main mainWindow;
    mainWindow.show();
    const int status = QApplication::exec();
    DM = nullptr;
    return status;
}
