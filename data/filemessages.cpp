#include "filemessages.h"

#include "sqlitehandle.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>

namespace {

QString sentenceFor(int primaryCode) {
    switch (primaryCode) {
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满，修改没有保存。");
    case SQLITE_READONLY:
        return QStringLiteral("数据库文件只能读，不能写，修改没有保存。");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库文件正被其他程序使用，请稍后再试。");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("数据库文件已损坏，可用 backup 文件夹中的备份恢复。");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开数据库文件。");
    case SQLITE_IOERR:
        return QStringLiteral("读写数据库文件时出错，修改没有保存。");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有使用数据库文件的权限。");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足。");
    default:
        return {};
    }
}

} // namespace

QString withDetail(const QString &sentence, const QString &detail) {
    if (detail.isEmpty())
        return sentence;
    return sentence + QStringLiteral("\n（") + detail + QStringLiteral("）");
}

DbError sqliteFailure(int resultCode, const QString &engineText) {
    const QString sentence = sentenceFor(resultCode & 0xff);
    return DbError(sentence.isEmpty() ? engineText : withDetail(sentence, engineText));
}

DbError sqliteFailure(const QSqlDatabase &database, const QSqlError &error) {
    // The driver leaves out the code of a failed transaction; the engine still has it. A
    // connection that never opened has only the driver's.
    const int code = database.isOpen() ? sqlite3_extended_errcode(sqliteHandle(database))
                                       : error.nativeErrorCode().toInt();
    return sqliteFailure(code, error.databaseText());
}

QString systemErrorText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}
