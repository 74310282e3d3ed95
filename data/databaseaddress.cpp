#include "databaseaddress.h"

#include <QSettings>
#include <QStringList>
#include <libpq-fe.h>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

const char *const settingsFile = "gzgl.ini";

int positiveSetting(const QSettings &settings, const QString &key, int fallback) {
    bool readable = false;
    const int value = settings.value(key).toString().trimmed().toInt(&readable);
    return readable && value > 0 ? value : fallback;
}

using Options = std::vector<std::pair<QString, QString>>;

// The settings libpq reads in `connectionString`, in its own order; none when it cannot read
// it (a broken URI, a word without "=", an unknown keyword).
std::optional<Options> parsedOptions(const QString &connectionString) {
    char *error = nullptr;
    PQconninfoOption *parsed = PQconninfoParse(connectionString.toUtf8().constData(), &error);
    // libpq's complaint quotes the string, password and all: it is never passed on.
    PQfreemem(error);
    if (!parsed)
        return std::nullopt;
    const std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption *)> owned(parsed,
                                                                                PQconninfoFree);
    Options options;
    for (const PQconninfoOption *option = parsed; option->keyword; ++option)
        if (option->val)
            options.emplace_back(QString::fromUtf8(option->keyword),
                                 QString::fromUtf8(option->val));
    return options;
}

bool isPassword(const QString &keyword) {
    return keyword == QLatin1String("password");
}

// A value as libpq would read it back: quoted when it holds a space, a quote or nothing.
QString quoted(QString value) {
    if (!value.isEmpty() && !value.contains(QChar(' ')) && !value.contains(QChar('\'')) &&
        !value.contains(QChar('\\')))
        return value;
    value.replace(QChar('\\'), QStringLiteral("\\\\")).replace(QChar('\''), QStringLiteral("\\'"));
    return QChar('\'') + value + QChar('\'');
}

} // namespace

ServerTimeouts ServerTimeouts::configured() {
    const QSettings settings(QString::fromLatin1(settingsFile), QSettings::IniFormat);
    const ServerTimeouts defaults;
    return {positiveSetting(settings, QStringLiteral("database/connect_timeout"),
                            defaults.connectSeconds),
            positiveSetting(settings, QStringLiteral("database/statement_timeout"),
                            defaults.statementSeconds)};
}

DatabaseAddress DatabaseAddress::file(QString fileName) {
    return {Kind::File, std::move(fileName)};
}

DatabaseAddress DatabaseAddress::server(QString connectionString, ServerTimeouts timeouts) {
    return {Kind::Server, std::move(connectionString), timeouts};
}

DatabaseAddress DatabaseAddress::configured() {
    const ServerTimeouts timeouts = ServerTimeouts::configured();
    const QString fromEnvironment = qEnvironmentVariable("GZGL_DATABASE").trimmed();
    if (!fromEnvironment.isEmpty())
        return server(fromEnvironment, timeouts);
    const QSettings settings(QString::fromLatin1(settingsFile), QSettings::IniFormat);
    const QString fromFile = settings.value(QStringLiteral("database/server")).toString().trimmed();
    return fromFile.isEmpty() ? file() : server(fromFile, timeouts);
}

bool DatabaseAddress::isReadable() const {
    return !isServer() || parsedOptions(m_location).has_value();
}

QString DatabaseAddress::shownName() const {
    if (!isServer())
        return m_location;
    const std::optional<Options> options = parsedOptions(m_location);
    if (!options)
        return QStringLiteral("（无法识别的连接串）");
    QStringList shown;
    for (const auto &[keyword, value] : *options)
        if (!isPassword(keyword))
            shown << keyword + QChar('=') + quoted(value);
    return shown.join(QChar(' '));
}

QString DatabaseAddress::withoutPassword(QString text) const {
    if (!isServer())
        return text;
    if (const std::optional<Options> options = parsedOptions(m_location))
        for (const auto &[keyword, value] : *options)
            if (isPassword(keyword) && !value.isEmpty())
                text.replace(value, QStringLiteral("***"));
    return text;
}
