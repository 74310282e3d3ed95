#include "bankprofile.h"

#include "query.h"
#include "transaction.h"

#include <algorithm>

namespace {

const QStringList kindCodes = {"xlsx", "csv", "txt"};
const QStringList totalLineCodes = {"0", "1", "2"};

BankFileKind kindOfCode(const QString &code) {
    return BankFileKind(std::max(qsizetype(0), kindCodes.indexOf(code)));
}

BankTotalLine totalLineOfCode(const QString &code) {
    return BankTotalLine(std::max(qsizetype(0), totalLineCodes.indexOf(code)));
}

std::vector<BankField> readFields(Connection &connection, qint64 profile) {
    Query fields(connection);
    fields.addLine("select zd,bt,nr,kd,dq from YHDFZD where gsbh=:gsbh order by xh");
    fields.param("gsbh").setInteger(profile);
    fields.open();
    std::vector<BankField> read;
    for (; !fields.eof(); fields.next())
        read.push_back(
            {bankFieldKindNamed(fields.field("zd").asString()).value_or(BankFieldKind::Constant),
             fields.field("bt").asString(), fields.field("nr").asString(),
             int(fields.field("kd").asInteger()),
             fields.field("dq").asString() == QStringLiteral("R")});
    return read;
}

std::vector<BankProfile> readProfiles(Connection &connection, std::optional<qint64> only) {
    Query profiles(connection);
    profiles.addLine("select bh,mc,wjlx,bm,fgf,btwb,lbt,hjh from YHDFGS");
    if (only)
        profiles.addLine("where bh=:bh");
    profiles.addLine("order by bh");
    if (only)
        profiles.param("bh").setInteger(*only);
    profiles.open();
    std::vector<BankProfile> read;
    for (; !profiles.eof(); profiles.next()) {
        BankProfile profile;
        profile.id = profiles.field("bh").asInteger();
        profile.name = profiles.field("mc").asString();
        profile.kind = kindOfCode(profiles.field("wjlx").asString());
        profile.gbk = profiles.field("bm").asString() != QStringLiteral("UTF-8");
        profile.separator = profiles.field("fgf").asString();
        const QString header = profiles.field("btwb").asString();
        if (!header.isEmpty())
            profile.headerLines = header.split(QChar('\n'));
        profile.captionLine = profiles.field("lbt").asInteger() != 0;
        profile.totalLine = totalLineOfCode(profiles.field("hjh").asString());
        read.push_back(std::move(profile));
    }
    for (BankProfile &profile : read)
        profile.fields = readFields(connection, profile.id);
    return read;
}

void bindProfile(Query &statement, const BankProfile &profile) {
    statement.param("mc").setText(profile.name);
    statement.param("wjlx").setText(kindCodes[int(profile.kind)]);
    statement.param("bm").setText(profile.gbk ? QStringLiteral("GBK") : QStringLiteral("UTF-8"));
    statement.param("fgf").setText(profile.separator);
    statement.param("btwb").setText(profile.headerLines.join(QChar('\n')));
    statement.param("lbt").setInteger(profile.captionLine ? 1 : 0);
    statement.param("hjh").setText(totalLineCodes[int(profile.totalLine)]);
}

void deleteFields(Connection &connection, qint64 profile) {
    Query remove(connection);
    remove.addLine("delete from YHDFZD where gsbh=:gsbh");
    remove.param("gsbh").setInteger(profile);
    remove.execSql();
}

void insertFields(Connection &connection, qint64 profile, const std::vector<BankField> &fields) {
    Query insert(connection);
    insert.addLine("insert into YHDFZD (gsbh,xh,zd,bt,nr,kd,dq)");
    insert.addLine("values (:gsbh,:xh,:zd,:bt,:nr,:kd,:dq)");
    for (std::size_t position = 0; position < fields.size(); ++position) {
        const BankField &field = fields[position];
        insert.param("gsbh").setInteger(profile);
        insert.param("xh").setInteger(qint64(position) + 1);
        insert.param("zd").setText(bankFieldName(field.kind));
        insert.param("bt").setText(field.caption);
        insert.param("nr").setText(field.text);
        insert.param("kd").setInteger(field.width);
        insert.param("dq").setText(field.rightAligned ? QStringLiteral("R") : QStringLiteral("L"));
        insert.execSql();
    }
}

// Holds the profile's row until the transaction ends, so that a second clerk storing the same
// profile waits here and then compares with what this one stored. False when it differs from
// `asRead`, deleted included.
bool unchangedSinceRead(Connection &connection, const BankProfile &asRead) {
    Query lock(connection);
    lock.addLine("update YHDFGS set mc=mc where bh=:bh");
    lock.param("bh").setInteger(asRead.id);
    lock.execSql();
    return readBankProfile(connection, asRead.id) == asRead;
}

bool hasText(BankFieldKind kind) {
    return kind == BankFieldKind::Purpose || kind == BankFieldKind::Constant;
}

} // namespace

const QStringList &bankFieldNames() {
    static const QStringList names = {"账号",     "户名",     "金额", "开户银行",
                                      "证件号码", "手机号码", "用途", "常量"};
    return names;
}

QString bankFieldName(BankFieldKind kind) {
    return bankFieldNames()[int(kind)];
}

std::optional<BankFieldKind> bankFieldKindNamed(const QString &name) {
    const qsizetype index = bankFieldNames().indexOf(name);
    return index < 0 ? std::nullopt : std::optional(BankFieldKind(index));
}

QString bankProfileProblem(const BankProfile &profile) {
    if (profile.name.trimmed().isEmpty())
        return QStringLiteral("格式名称不能为空！");
    if (profile.fields.empty())
        return QStringLiteral("格式至少要有一个字段！");
    if (profile.kind == BankFileKind::Separated && profile.separator.isEmpty())
        return QStringLiteral("CSV文件的分隔符不能为空！");
    for (const QString &mark : {QStringLiteral("\""), QStringLiteral("\n"), QStringLiteral("\r")})
        if (profile.kind != BankFileKind::Workbook && profile.separator.contains(mark))
            return QStringLiteral("分隔符不能含引号或换行！");
    for (std::size_t position = 0; position < profile.fields.size(); ++position) {
        const BankField &field = profile.fields[position];
        const QString row = QStringLiteral("第%1个字段").arg(position + 1);
        if (profile.kind == BankFileKind::FixedWidth && field.width <= 0)
            return row + QStringLiteral("的宽度必须大于0！");
        if (hasText(field.kind) && field.text.isEmpty())
            return row + QStringLiteral("（%1）的内容不能为空！").arg(bankFieldName(field.kind));
    }
    return {};
}

std::vector<BankProfile> readBankProfiles(Connection &connection) {
    return readProfiles(connection, std::nullopt);
}

std::optional<BankProfile> readBankProfile(Connection &connection, qint64 id) {
    std::vector<BankProfile> read = readProfiles(connection, id);
    if (read.empty())
        return std::nullopt;
    return std::move(read.front());
}

qint64 addBankProfile(Connection &connection, const BankProfile &profile) {
    Transaction transaction(connection);
    Query insert(connection);
    insert.addLine("insert into YHDFGS (mc,wjlx,bm,fgf,btwb,lbt,hjh)");
    insert.addLine("values (:mc,:wjlx,:bm,:fgf,:btwb,:lbt,:hjh)");
    bindProfile(insert, profile);
    insert.execSql();
    // The name is unique, so it finds the row just made on either engine.
    Query made(connection);
    made.addLine("select bh from YHDFGS where mc=:mc");
    made.param("mc").setText(profile.name);
    made.open();
    const qint64 id = made.field("bh").asInteger();
    insertFields(connection, id, profile.fields);
    transaction.commit();
    return id;
}

bool storeBankProfile(Connection &connection, const BankProfile &asRead,
                      const BankProfile &profile) {
    Transaction transaction(connection);
    if (!unchangedSinceRead(connection, asRead))
        return false;
    Query update(connection);
    update.addLine("update YHDFGS set mc=:mc,wjlx=:wjlx,bm=:bm,fgf=:fgf,btwb=:btwb,lbt=:lbt,");
    update.addLine("hjh=:hjh where bh=:bh");
    bindProfile(update, profile);
    update.param("bh").setInteger(asRead.id);
    update.execSql();
    deleteFields(connection, asRead.id);
    insertFields(connection, asRead.id, profile.fields);
    transaction.commit();
    return true;
}

bool deleteBankProfile(Connection &connection, const BankProfile &asRead) {
    Transaction transaction(connection);
    if (!unchangedSinceRead(connection, asRead))
        return false;
    deleteFields(connection, asRead.id);
    Query remove(connection);
    remove.addLine("delete from YHDFGS where bh=:bh");
    remove.param("bh").setInteger(asRead.id);
    remove.execSql();
    transaction.commit();
    return true;
}
