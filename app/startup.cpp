#include "data.h"
#include "databasefile.h"
#include "databaselock.h"
#include "fonts.h"
#include "mainwindow.h"
#include "messages.h"
#include "qttranslations.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(Messages::applicationTitle());
    QApplication::setApplicationDisplayName(Messages::applicationTitle());
    installFontSubstitutes();
    installQtTranslations();

    TDM dataModule;
    DM = &dataModule;
    Tfrm_main mainWindow;
    // Taken once the main window has compacted the file, held until the program ends: another
    // copy started meanwhile then leaves the file in place. (A server needs no such lock.)
    const DatabaseLock databaseInUse(
        DM->ADC.address().isServer() ? QString() : findDatabaseFile(QStringLiteral("GZDB.mdb")),
        DatabaseLock::Mode::Shared);
    mainWindow.show();
    const int status = QApplication::exec();
    DM = nullptr;
    return status;
}
