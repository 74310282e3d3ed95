#include "servermessages.h"

#include "databaseaddress.h"

#include <libpq-fe.h>

namespace {

QString withDetail(const QString &sentence, const QString &detail) {
    const QString line = detail.simplified();
    return line.isEmpty() ? sentence : sentence + QChar('\n') + line;
}

const QString lostSentence =
    QStringLiteral("与数据库服务器的连接已断开（服务器可能已重新启动或网络中断），未完成的操作没有"
                   "保存。再次操作时程序将重新连接。");

struct Reading {
    QString sentence;
    DbError::Kind kind = DbError::Kind::Refused;
};

// The sentence for a server's answer, by the SQLSTATE it carries.
Reading readingOf(const QString &state) {
    using Kind = DbError::Kind;
    const QString group = state.left(2);
    if (group == QLatin1String("08") || state == QLatin1String("57P01") ||
        state == QLatin1String("57P02") || state == QLatin1String("57P03"))
        return {lostSentence, Kind::ConnectionLost};
    if (state == QLatin1String("57014"))
        return {QStringLiteral("数据库服务器未能在限定时间内完成本次操作，操作已取消，没有保存"
                               "任何改动。"),
                Kind::TimedOut};
    if (state == QLatin1String("23505"))
        return {QStringLiteral("要保存的记录与数据库中已有的记录重复，没有保存。")};
    if (group == QLatin1String("23"))
        return {QStringLiteral("要保存的数据不符合数据库的规则，没有保存。")};
    if (state == QLatin1String("40001") || state == QLatin1String("40P01"))
        return {QStringLiteral("其他操作员同时在修改相同的数据，本次操作没有完成，请重新操作。")};
    if (state == QLatin1String("53300"))
        return {QStringLiteral("数据库服务器的连接数已满，请稍后再试，或请管理员调整服务器。")};
    if (group == QLatin1String("53"))
        return {QStringLiteral("数据库服务器的磁盘、内存或其他资源不足，本次操作没有完成，请"
                               "告知管理员。")};
    if (group == QLatin1String("28"))
        return {QStringLiteral("数据库服务器拒绝登录：用户名或密码不对，或该用户无权从本机"
                               "登录。")};
    if (state == QLatin1String("3D000"))
        return {QStringLiteral("数据库服务器上没有连接串所指的数据库。")};
    if (state == QLatin1String("42501"))
        return {QStringLiteral("当前数据库用户没有进行本次操作的权限。")};
    return {QStringLiteral("数据库服务器拒绝了本次操作。")};
}

// libpq gives no SQLSTATE for a refused login; its words are the only clue to which one.
QString connectionSentence(const QString &reason) {
    if (reason.contains(QLatin1String("timeout expired")))
        return QStringLiteral("数据库服务器在限定时间内没有应答，无法连接。请检查服务器和网络。");
    if (reason.contains(QLatin1String("password authentication failed")) ||
        reason.contains(QLatin1String("no pg_hba.conf entry")) ||
        reason.contains(QLatin1String("no password supplied")) ||
        (reason.contains(QLatin1String("role \"")) &&
         reason.contains(QLatin1String("does not exist"))))
        return readingOf(QStringLiteral("28000")).sentence;
    if (reason.contains(QLatin1String("database \"")) &&
        reason.contains(QLatin1String("does not exist")))
        return readingOf(QStringLiteral("3D000")).sentence;
    return QStringLiteral("无法连接数据库服务器，请检查服务器是否已启动、连接串是否正确。");
}

} // namespace

DbError serverFailure(pg_conn *connection, const pg_result *result) {
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char *primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString detail = QString::fromUtf8(primary ? primary : PQerrorMessage(connection));
    Reading reading = readingOf(QString::fromLatin1(state ? state : ""));
    if (PQstatus(connection) == CONNECTION_BAD) {
        reading.sentence = lostSentence;
        reading.kind = DbError::Kind::ConnectionLost;
    }
    return DbError(withDetail(reading.sentence, detail), reading.kind);
}

DbError connectionFailure(const DatabaseAddress &address, const QString &reason,
                          bool reconnecting) {
    const QString sentence = connectionSentence(reason);
    const QString named = QStringLiteral("%1\n服务器：%2").arg(sentence, address.shownName());
    return DbError(withDetail(named, address.withoutPassword(reason)),
                   reconnecting ? DbError::Kind::ConnectionLost : DbError::Kind::Refused);
}

DbError lostInTransactionError() {
    return DbError(QStringLiteral("与数据库服务器的连接在本次操作中途断开，本次操作的改动都没有"
                                  "保存。再次操作时程序将重新连接。"),
                   DbError::Kind::ConnectionLost);
}

DbError unreadableAddressError() {
    return DbError(
        QStringLiteral("数据库服务器的连接串（gzgl.ini 中 [database] server= 或环境变量 "
                       "GZGL_DATABASE）写法有误，无法识别；为免泄露密码，不显示其内容。"));
}

DbError noAnswerError(int seconds) {
    return DbError(QStringLiteral("数据库服务器在 %1 秒内没有应答，连接已断开，未完成的操作没有"
                                  "保存。再次操作时程序将重新连接。")
                       .arg(seconds),
                   DbError::Kind::TimedOut);
}
