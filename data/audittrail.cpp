#include "audittrail.h"

#include "query.h"
#include "salarycolumns.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The operating system's name for the user running the program; the file records it, since
// it knows no users of its own. Without the usual variables, the home folder is named after
// the user.
QString systemUser() {
    for (const char *variable : {"USER", "LOGNAME", "USERNAME"})
        if (const QString name = qEnvironmentVariable(variable); !name.isEmpty())
            return name;
    return QDir::home().dirName();
}

void bindFigures(Query &insert, const QString &prefix, const MonthFigures &figures) {
    insert.param(prefix + "ts").setInteger(figures.rows);
    insert.param(prefix + "fh").setCurrency(figures.earnings);
    insert.param(prefix + "kh").setCurrency(figures.deductions);
    insert.param(prefix + "sf").setCurrency(figures.net);
}

} // namespace

MonthFigures monthFigures(Connection &connection, const QString &month) {
    Query sums(connection);
    sums.addLine(QStringLiteral("select count(*) as n,"));
    for (const QString &line : SalaryColumns::groupTotalLines())
        sums.addLine(line);
    sums.addLine(QStringLiteral("from GZB where ny=:ny"));
    sums.param(QStringLiteral("ny")).setText(month);
    sums.open();
    return {int(sums.field(QStringLiteral("n")).asInteger()),
            sums.field(SalaryColumns::earningsTotal).asCurrency(),
            sums.field(SalaryColumns::deductionsTotal).asCurrency(),
            sums.field(SalaryColumns::netPay).asCurrency()};
}

namespace AuditTrail {

QString actionName(Action action) {
    switch (action) {
    case Action::Save:
        return QStringLiteral("保存");
    case Action::Adjust:
        return QStringLiteral("调整");
    case Action::Delete:
        return QStringLiteral("删除");
    case Action::Recompute:
        return QStringLiteral("重算个税");
    case Action::Close:
        return QStringLiteral("结账");
    case Action::Reopen:
        return QStringLiteral("反结账");
    case Action::Export:
        return QStringLiteral("导出");
    }
    return {};
}

void record(Connection &connection, const Entry &entry) {
    Query insert(connection);
    insert.addLine(QStringLiteral("insert into SJJL (sj,czy,ny,dz,qts,qfh,qkh,qsf,hts,hfh,hkh,hsf,"
                                  "wjm,sha,yy)"));
    insert.addLine(QStringLiteral("values (%1,coalesce(%2,:czy),:ny,:dz,:qts,:qfh,:qkh,:qsf,:hts,"
                                  ":hfh,:hkh,:hsf,nullif(:wjm,''),nullif(:sha,''),nullif(:yy,''))")
                       .arg(insert.fragment(SqlFragment::LocalTime),
                            insert.fragment(SqlFragment::DatabaseUser)));
    insert.param(QStringLiteral("czy")).setText(systemUser());
    insert.param(QStringLiteral("ny")).setText(entry.month);
    insert.param(QStringLiteral("dz")).setText(actionName(entry.action));
    bindFigures(insert, QStringLiteral("q"), entry.before);
    bindFigures(insert, QStringLiteral("h"), entry.after);
    // A detail an action does not have is left null.
    insert.param(QStringLiteral("wjm")).setText(entry.file);
    insert.param(QStringLiteral("sha")).setText(entry.sha256);
    insert.param(QStringLiteral("yy")).setText(entry.reason);
    insert.execSql();
}

QString fileSha256(const QString &path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

void recordExport(Connection &connection, const QString &month, const QString &path,
                  const QString &sha256) {
    const MonthFigures figures = monthFigures(connection, month);
    record(connection, {.month = month,
                        .action = Action::Export,
                        .before = figures,
                        .after = figures,
                        .file = QFileInfo(path).fileName(),
                        .sha256 = sha256,
                        .reason = {}});
}

} // namespace AuditTrail
