#include "data.h"
#include "databasefile.h"
#include "databaselock.h"
#include "fonts.h"
#include "heapreuse.h"
#include "mainwindow.h"
#include "messages.h"
#include "qttranslations.h"

#include <QApplication>
#include <optional>

int main(int argc, char *argv[]) {
    keepFreedMemoryForReuse();
    QApplication application(argc, argv);
    QApplication::setApplicationName(Messages::applicationTitle());
    QApplication::setApplicationDisplayName(Messages::applicationTitle());
    installFontSubstitutes();
    installQtTranslations();

    // Declared before the data module so that it is released after the connection closes:
    // releasing it closes a descriptor of the database file, which would drop the engine's
    // locks on it.
    std::optional<DatabaseLock> databaseInUse;
    TDM dataModule;
    DM = &dataModule;
    Tfrm_main mainWindow;
    // Taken once the main window has compacted the file and before any connection opens it,
    // held until the program ends: another copy started meanwhile then leaves the file in
    // place, and the connection opens the very file locked. (A server needs no such lock.)
    if (!DM->ADC.address().isServer())
        databaseInUse.emplace(findDatabaseFile(QStringLiteral("GZDB.mdb")),
                              DatabaseLock::Mode::Shared);
    mainWindow.show();
    const int status = QApplication::exec();
    DM = nullptr;
    return status;
}
