#include "workspace.h"

#include "schematables.h"
#include "testserver.h"

#include <QTest>

Workspace::Workspace(Database database, QDate today)
    : m_previousFolder(QDir::currentPath()),
      m_address(testsOnServer() ? freshServerDatabase() : DatabaseAddress::file()) {
    QVERIFY2(m_folder.isValid(), "cannot create a temporary folder");
    QDir::setCurrent(m_folder.path());
    const auto contents =
        database == Database::Demo ? DatabaseSetup::Contents::Demo : DatabaseSetup::Contents::Empty;
    if (m_address.isServer()) {
        qputenv("GZGL_DATABASE", m_address.location().toUtf8());
        if (database != Database::None)
            DatabaseSetup::createServerDatabase(m_address, contents, today);
    } else if (database != Database::None) {
        DatabaseSetup::createDatabase(m_folder.path(), contents, today);
    }
    m_dataModule = std::make_unique<TDM>();
    DM = m_dataModule.get();
}

Workspace::~Workspace() {
    DM = nullptr;
    m_dataModule.reset();
    qunsetenv("GZGL_DATABASE");
    QDir::setCurrent(m_previousFolder);
}

void Workspace::exec(const QString &sql) const {
    Connection connection(m_address.isServer() ? m_address : DatabaseAddress::file(databasePath()));
    Query query(connection);
    query.addLine(sql);
    query.execSql();
}

void Workspace::makeFirstLayout() const {
    for (const QString &drop : fileDropsAfterVersion(1))
        exec(drop);
    exec(QStringLiteral("pragma user_version = 1"));
    exec(QStringLiteral("pragma application_id = 0"));
}

namespace {

// Runs a statement on the program's own connection.
void runOnProgramConnection(const QString &sql) {
    Query query(DM->ADC);
    query.addLine(sql);
    query.execSql();
}

} // namespace

void Workspace::refuseInserts(const QString &table, const QString &message,
                              const QString &condition) const {
    const auto run = runOnProgramConnection;
    const QString name = QStringLiteral("refuse_") + table;
    if (!m_address.isServer()) {
        run(QStringLiteral("create temp trigger %1 before insert on %2 %3 begin select "
                           "raise(abort, '%4'); end")
                .arg(name, table,
                     condition.isEmpty() ? QString() : QStringLiteral("when ") + condition,
                     message));
        return;
    }
    run(QStringLiteral("create function %1() returns trigger language plpgsql as $$ begin if %2 "
                       "then raise exception '%3'; end if; return new; end $$")
            .arg(name, condition.isEmpty() ? QStringLiteral("true") : condition, message));
    run(QStringLiteral("create trigger %1 before insert on %2 for each row execute function %1()")
            .arg(name, table));
}

void Workspace::stopRefusingInserts(const QString &table) const {
    runOnProgramConnection(QStringLiteral("drop trigger refuse_%1%2")
                               .arg(table, m_address.isServer() ? " on " + table : QString()));
}

void openLines(Query &query, const QStringList &lines) {
    query.close();
    query.clearSql();
    for (const QString &line : lines)
        query.addLine(line);
    query.open();
}

QString engineRefusal(const QString &words) {
    return testsOnServer() ? QStringLiteral("数据库服务器拒绝了本次操作。\n") + words : words;
}
