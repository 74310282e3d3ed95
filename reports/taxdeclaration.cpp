#include "taxdeclaration.h"

#include "declarationmapping.h"
#include "employeeidentity.h"
#include "employeeprofile.h"
#include "exportfile.h"
#include "monthcomputation.h"
#include "query.h"
#include "salarycolumns.h"
#include "xlsxsheet.h"
#include "yearendbonus.h"

#include <algorithm>
#include <iterator>
#include <set>

namespace {

const QString income = QStringLiteral("本期收入");
const QString untaxedIncome = QStringLiteral("本期免税收入");
const QString other = QStringLiteral("其他");

// The declaration's column of each kind of special deduction.
QString yearToDateHeading(const QString &kind) {
    return QStringLiteral("累计") + kind;
}

// The months of `month`'s year through `month` for which each employee's special deductions
// count: those the employee was paid in, and the months before the program of an opening year.
std::map<qint64, std::set<QString>>
monthsOfYear(Connection &connection, const QString &month,
             const std::map<qint64, EmployeeProfile> &profiles) {
    std::map<qint64, std::set<QString>> months;
    Query paid(connection);
    paid.addLine("select ygh, ny from GZB where ny>=:first and ny<=:month order by ygh, ny");
    paid.param("first").setText(month.left(4) + "01");
    paid.param("month").setText(month);
    paid.open();
    for (; !paid.eof(); paid.next())
        months[paid.field("ygh").asInteger()].insert(paid.field("ny").asString());
    for (const auto &[employee, profile] : profiles)
        if (profile.opening.year == month.left(4))
            for (int before = 1; before <= profile.opening.months; ++before)
                months[employee].insert(month.left(4) +
                                        QStringLiteral("%1").arg(before, 2, 10, QChar(u'0')));
    return months;
}

} // namespace

const QStringList &declarationHeadings() {
    static const QStringList headings = {QStringLiteral("工号"),
                                         QStringLiteral("*姓名"),
                                         QStringLiteral("*证件类型"),
                                         QStringLiteral("*证件号码"),
                                         income,
                                         untaxedIncome,
                                         QStringLiteral("基本养老保险费"),
                                         QStringLiteral("基本医疗保险费"),
                                         QStringLiteral("失业保险费"),
                                         QStringLiteral("住房公积金"),
                                         yearToDateHeading(QStringLiteral("子女教育")),
                                         yearToDateHeading(QStringLiteral("继续教育")),
                                         yearToDateHeading(QStringLiteral("住房贷款利息")),
                                         yearToDateHeading(QStringLiteral("住房租金")),
                                         yearToDateHeading(QStringLiteral("赡养老人")),
                                         yearToDateHeading(QStringLiteral("3岁以下婴幼儿照护")),
                                         yearToDateHeading(QStringLiteral("个人养老金")),
                                         QStringLiteral("企业(职业)年金"),
                                         QStringLiteral("商业健康保险"),
                                         QStringLiteral("税延养老保险"),
                                         other,
                                         QStringLiteral("准予扣除的捐赠额"),
                                         QStringLiteral("减免税额"),
                                         QStringLiteral("备注")};
    return headings;
}

const QStringList &bonusHeadings() {
    static const QStringList headings = {QStringLiteral("工号"),
                                         QStringLiteral("*姓名"),
                                         QStringLiteral("*证件类型"),
                                         QStringLiteral("*证件号码"),
                                         QStringLiteral("*全年一次性奖金额"),
                                         QStringLiteral("免税收入"),
                                         other,
                                         QStringLiteral("准予扣除的捐赠额"),
                                         QStringLiteral("减免税额"),
                                         QStringLiteral("备注")};
    return headings;
}

namespace {

// The heading of `layout` that `heading` stands for: templates mark required columns with "*"
// or not, and write brackets full-width or not. Empty when it is none of them.
QString headingOf(const QStringList &layout, const QString &heading) {
    auto plain = [](QString text) {
        text = text.trimmed();
        if (text.startsWith(u'*'))
            text.remove(0, 1);
        return text.replace(u'（', u'(').replace(u'）', u')').trimmed();
    };
    const QString wanted = plain(heading);
    for (const QString &known : layout)
        if (plain(known) == wanted)
            return known;
    return QString();
}

} // namespace

QString knownHeading(const QString &heading) {
    return headingOf(declarationHeadings(), heading);
}

Declaration readDeclaration(Connection &connection, const QString &month,
                            const std::vector<MappedItem> &items) {
    Declaration declaration;
    declaration.month = month;
    const std::map<qint64, EmployeeProfile> profiles = readProfiles(connection);
    const std::map<qint64, EmployeeIdentity> identities = readIdentities(connection);
    const std::map<qint64, std::set<QString>> months = monthsOfYear(connection, month, profiles);
    const PayrollRules rules = readPayrollRules(connection);
    const std::map<qint64, YearToDate> years = readYearsBefore(connection, rules, profiles, month);
    std::vector<const ItemRule *> bonusItems;
    for (const ItemRule &item : rules.items)
        if (item.method == Method::YearEndBonus)
            bonusItems.push_back(&item);
    const auto isBonusItem = [&bonusItems](const MappedItem &item) {
        return std::any_of(bonusItems.begin(), bonusItems.end(), [&item](const ItemRule *bonus) {
            return bonus->deduction == item.deduction && bonus->slot == item.slot;
        });
    };

    Query rows(connection);
    rows.addLine("select * from GZB where ny=:ny order by ygh");
    rows.param("ny").setText(month);
    rows.open();
    for (; !rows.eof(); rows.next()) {
        const qint64 employee = rows.field("ygh").asInteger();
        const QString name = rows.field("xm").asString();
        const auto identity = identities.find(employee);
        if (identity == identities.end() || identity->second.documentNumber.isEmpty()) {
            declaration.withoutDocument << QStringLiteral("%1 %2").arg(employee).arg(name);
            continue;
        }
        DeclarationRow row{
            employee, name, identity->second.documentKind, identity->second.documentNumber, {}};
        for (const MappedItem &item : items) {
            if (item.heading.isEmpty() || isBonusItem(item))
                continue;
            const Currency amount =
                rows.field(SalaryColumns::itemColumn(item.deduction ? SalaryColumns::deduction
                                                                    : SalaryColumns::earning,
                                                     item.slot))
                    .asCurrency();
            const bool incomeColumn = item.heading == income || item.heading == untaxedIncome;
            const Currency signedAmount =
                item.deduction && incomeColumn ? Currency() - amount : amount;
            row.amounts[item.heading] += signedAmount;
            if (item.heading == untaxedIncome)
                row.amounts[income] += signedAmount;
        }
        if (const auto profile = profiles.find(employee); profile != profiles.end()) {
            row.amounts[other] += profile->second.bases.in(month).otherDeductions;
            row.amounts[QStringLiteral("减免税额")] += reliefIn(profile->second.taxRelief, month);
            const auto paid = months.find(employee);
            if (paid != months.end())
                for (const QString &counted : paid->second)
                    for (const SpecialDeduction &deduction : profile->second.specialDeductions)
                        if (deduction.fromMonth <= counted &&
                            (deduction.throughMonth.isEmpty() || counted <= deduction.throughMonth))
                            row.amounts[yearToDateHeading(deduction.kind)] += deduction.monthly;
        }
        // A year-end bonus taxed apart is declared on its own sheet; taxed with the pay, it is
        // the month's income like any earning.
        Currency bonus;
        for (const ItemRule *item : bonusItems)
            bonus += rows.field(SalaryColumns::itemColumn(SalaryColumns::earning, item->slot))
                         .asCurrency();
        if (bonus != Currency()) {
            const auto year = years.find(employee);
            const BonusInMonth taxed =
                bonusInMonth(rules, profileOf(profiles, employee),
                             year == years.end() ? YearToDate() : year->second, month, bonus);
            row.amounts[income] += bonus - taxed.apart;
            if (taxed.apart != Currency())
                declaration.bonusRows.push_back({row.employee,
                                                 row.name,
                                                 row.documentKind,
                                                 row.documentNumber,
                                                 {{bonusHeadings().at(4), taxed.apart}}});
        }
        declaration.rows.push_back(std::move(row));
    }
    return declaration;
}

namespace {

// Writes `rows` on the sheet `sheet` under `headings`, each a heading of `layout` or one the
// program does not know (left empty); the first four of the layout are the employee's texts,
// its last the clerk's remark, the rest amounts.
QString writeRows(const QString &path, const QString &sheet, const QStringList &layout,
                  const QStringList &headings, const std::vector<DeclarationRow> &rows) {
    ExportFile file(path);
    file.device().close(); // the workbook writes the file by its name
    {
        XlsxSheet workbook(file, sheet, {.textsStayText = true});
        for (int column = 0; column < headings.size(); ++column) {
            workbook.text(0, column, headings[column]);
            workbook.width(column, std::max(12, int(headings[column].size()) * 2 + 2));
        }
        int line = 1;
        for (const DeclarationRow &row : rows) {
            const QString texts[] = {QString::number(row.employee), row.name, row.documentKind,
                                     row.documentNumber};
            for (int column = 0; column < headings.size(); ++column) {
                const QString heading = headingOf(layout, headings[column]);
                const qsizetype known = layout.indexOf(heading);
                if (known < 0 || heading == layout.last())
                    continue;
                if (known < qsizetype(std::size(texts))) {
                    workbook.text(line, column, texts[known]);
                } else {
                    const auto amount = row.amounts.find(heading);
                    workbook.amount(line, column,
                                    amount == row.amounts.end() ? Currency()
                                                                : amount->second.roundedToFen());
                }
            }
            ++line;
        }
        workbook.close();
    }
    file.commit();
    return path;
}

} // namespace

QString writeDeclaration(const QString &path, const Declaration &declaration,
                         const QStringList &headings) {
    return writeRows(path, QStringLiteral("正常工资薪金收入"), declarationHeadings(), headings,
                     declaration.rows);
}

QString writeBonusDeclaration(const QString &path, const Declaration &declaration) {
    return writeRows(path, QStringLiteral("全年一次性奖金收入"), bonusHeadings(), bonusHeadings(),
                     declaration.bonusRows);
}
