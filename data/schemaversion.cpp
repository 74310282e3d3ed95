#include "schemaversion.h"

DbError newerLayoutError(const QString &shownName, int version) {
    return DbError(QStringLiteral("%1 has database version %2, newer than version %3 that this "
                                  "program knows; it was made by a newer program and is left "
                                  "untouched")
                       .arg(shownName)
                       .arg(version)
                       .arg(schemaVersion));
}
