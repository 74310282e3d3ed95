#include "schemaversion.h"

DbError newerLayoutError(const QString &shownName, int version) {
    return DbError(QStringLiteral("%1 是较新版本的程序建立的（数据库版本 %2，本程序只认识到版本 "
                                  "%3），本程序不读也不改它，请使用新版本的程序。")
                       .arg(shownName)
                       .arg(version)
                       .arg(schemaVersion));
}
