#include "workspace.h"

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

void openLines(Query &query, const QStringList &lines) {
    query.close();
    query.clearSql();
    for (const QString &line : lines)
        query.addLine(line);
    query.open();
}
