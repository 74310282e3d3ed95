#include "databasefile.h"

#include <QDir>
#include <QFileInfo>

QString findDatabaseFile(const QString &fileName) {
    const QFileInfo given(QDir::current(), fileName);
    const QDir folder = given.absoluteDir();
    QStringList matches;
    for (const QString &entry : folder.entryList(QDir::Files | QDir::Hidden))
        if (entry.compare(given.fileName(), Qt::CaseInsensitive) == 0)
            matches << entry;
    if (matches.size() != 1)
        return {};
    return QFileInfo(folder, matches.first()).canonicalFilePath();
}
