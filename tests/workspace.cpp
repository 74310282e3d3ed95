#include "workspace.h"

#include <QTest>

Workspace::Workspace(Database database, QDate today) : m_previousFolder(QDir::currentPath()) {
    QVERIFY2(m_folder.isValid(), "cannot create a temporary folder");
    QDir::setCurrent(m_folder.path());
    if (database != Database::None)
        DatabaseSetup::createDatabase(m_folder.path(),
                                      database == Database::Demo ? DatabaseSetup::Contents::Demo
                                                                 : DatabaseSetup::Contents::Empty,
                                      today);
    m_dataModule = std::make_unique<TDM>();
    DM = m_dataModule.get();
}

Workspace::~Workspace() {
    DM = nullptr;
    m_dataModule.reset();
    QDir::setCurrent(m_previousFolder);
}

void Workspace::exec(const QString &sql) const {
    Connection connection(databasePath());
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
