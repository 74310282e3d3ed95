#include "employeetax.h"

#include "amountcell.h"
#include "caption.h"
#include "currencyedit.h"
#include "data.h"
#include "employeeprofile.h"
#include "fonts.h"
#include "messages.h"
#include "monthtext.h"
#include "placement.h"
#include "rowasread.h"
#include "settingtable.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>

namespace {

FrameLayout frame() {
    return {"个税与社保",
            QSize(480, 480),
            "个 税 与 社 保",
            QPoint(168, 5),
            QPoint(455, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

enum Column { Kind, Amount, From, Through };
enum HistoryColumn { Since, SocialInsurance, HousingFund, OtherDeductions };

// How far everything below the bases' history stands lower than it would without it.
constexpr int belowHistory = 80;

CurrencyEdit *amountBox(const char *name, const QString &caption, const QPoint &at,
                        QWidget *parent) {
    makeCaption(QString(), caption, at, parent->font(), parent);
    return place(new CurrencyEdit(parent), name, {at.x() + 100, at.y() - 4, 100, 18});
}

} // namespace

EmployeeTaxDialog::EmployeeTaxDialog(qint64 employee, const QString &name)
    : ModuleForm(frame()), m_employee(employee) {
    setObjectName("employeeTaxDialog");
    l_xm = makeCaption("l_xm", "员工：" + name, {12, 34}, font(), this);
    e_sbjs = amountBox("e_sbjs", "社保基数：", {12, 60}, this);
    e_gjjjs = amountBox("e_gjjjs", "公积金基数：", {250, 60}, this);
    e_qtkc = amountBox("e_qtkc", "每月其他扣除：", {12, 84}, this);
    makeCaption(QString(), "自月份：", {250, 84}, font(), this);
    e_jsqsny = place(new QLineEdit(this), "e_jsqsny", {350, 80, 100, 18});
    e_jsqsny->setPlaceholderText("最初");
    QObject::connect(e_jsqsny, &QLineEdit::editingFinished, e_jsqsny,
                     [this] { e_jsqsny->setText(monthCaption(monthKeyOf(e_jsqsny->text()))); });
    t_jsls = place(new QTableWidget(0, 4, this), "t_jsls", {12, 104, 456, 76});
    t_jsls->setHorizontalHeaderLabels({"起始月份", "社保基数", "公积金基数", "每月其他扣除"});
    t_jsls->verticalHeader()->setVisible(false);
    t_jsls->verticalHeader()->setDefaultSectionSize(17);
    t_jsls->horizontalHeader()->setStretchLastSection(true);
    t_jsls->setEditTriggers(QAbstractItemView::NoEditTriggers);
    showCellsAs(t_jsls, {CellKind::Month, CellKind::Amount, CellKind::Amount, CellKind::Amount});

    const int below = belowHistory;
    makeCaption(QString(), "专项附加扣除：", {12, 108 + below}, font(), this);
    const QStringList &kinds = specialDeductionKinds();
    t_zxkc =
        place(new QTableWidget(int(kinds.size()), 4, this), "t_zxkc", {12, 124 + below, 456, 128});
    t_zxkc->setHorizontalHeaderLabels({"类别", "每月金额", "起始月份", "终止月份"});
    t_zxkc->verticalHeader()->setVisible(false);
    t_zxkc->verticalHeader()->setDefaultSectionSize(17);
    t_zxkc->setColumnWidth(Kind, 150);
    t_zxkc->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < kinds.size(); ++row) {
        auto *kind = new QTableWidgetItem(kinds.at(row));
        kind->setFlags(kind->flags() & ~Qt::ItemIsEditable);
        t_zxkc->setItem(row, Kind, kind);
    }
    showCellsAs(t_zxkc, {CellKind::Text, CellKind::Amount, CellKind::Month, CellKind::Month});

    makeCaption(QString(), "年初数据（年度）：", {12, 266 + below}, font(), this);
    e_qcnd = place(new QLineEdit(this), "e_qcnd", {126, 262 + below, 50, 18});
    e_qcnd->setMaxLength(4);
    makeCaption(QString(), "月数：", {250, 266 + below}, font(), this);
    e_qcys = place(new QSpinBox(this), "e_qcys", {350, 262 + below, 60, 18});
    e_qcys->setRange(0, 11);
    e_qcsr = amountBox("e_qcsr", "累计收入：", {12, 290 + below}, this);
    e_qcsqkc = amountBox("e_qcsqkc", "累计税前扣除：", {250, 290 + below}, this);
    e_qczxkc = amountBox("e_qczxkc", "累计专项扣除：", {12, 314 + below}, this);
    e_qcyjse = amountBox("e_qcyjse", "累计已扣税额：", {250, 314 + below}, this);

    b_ok = makeToolButton("b_ok", Icon::save, "确定", {300, 352 + below, 80, 40}, this);
    b_cancel = makeToolButton("b_cancel", Icon::cancel, "取消", {385, 352 + below, 80, 40}, this);
    wire(b_ok, &FlatButton::clicked, this, &EmployeeTaxDialog::b_okClick);
    QObject::connect(b_cancel, &FlatButton::clicked, this, &QDialog::reject);
}

void EmployeeTaxDialog::FormCreate() {
    showStored();
}

// What is stored now, also kept as read, so that saving can tell whether someone else changed
// it meanwhile.
void EmployeeTaxDialog::showStored() {
    m_asRead = readProfile(DM->ADC, m_employee);
    const EmployeeProfile profile = m_asRead.value_or(EmployeeProfile());
    showBases(profile.bases);
    for (int row = 0; row < t_zxkc->rowCount(); ++row)
        for (const Column column : {Amount, From, Through})
            setCell(t_zxkc, row, column, QString());
    for (const SpecialDeduction &deduction : profile.specialDeductions) {
        const int row = int(specialDeductionKinds().indexOf(deduction.kind));
        if (row < 0)
            continue;
        setCell(t_zxkc, row, Amount, deduction.monthly.toFixed2());
        setCell(t_zxkc, row, From, deduction.fromMonth);
        setCell(t_zxkc, row, Through, deduction.throughMonth);
    }
    e_qcnd->setText(profile.opening.year);
    e_qcsr->setValue(profile.opening.income);
    e_qcsqkc->setValue(profile.opening.preTaxDeductions);
    e_qczxkc->setValue(profile.opening.specialDeductions);
    e_qcyjse->setValue(profile.opening.taxWithheld);
    e_qcys->setValue(profile.opening.months);
}

// The boxes hold the latest bases, from their month; the table lists every change.
void EmployeeTaxDialog::showBases(const DatedBases &bases) {
    const EmployeeBases &latest = bases.latest();
    e_sbjs->setValue(latest.socialInsurance);
    e_gjjjs->setValue(latest.housingFund);
    e_qtkc->setValue(latest.otherDeductions);
    e_jsqsny->setText(bases.changes.empty() ? QString()
                                            : monthCaption(bases.changes.back().fromMonth));
    std::vector<Dated<EmployeeBases>> rows = {{QString(), bases.initial}};
    rows.insert(rows.end(), bases.changes.begin(), bases.changes.end());
    t_jsls->setRowCount(int(rows.size()));
    for (int row = 0; row < t_jsls->rowCount(); ++row) {
        const Dated<EmployeeBases> &shown = rows.at(std::size_t(row));
        setCell(t_jsls, row, Since, shown.fromMonth.isEmpty() ? "最初" : shown.fromMonth);
        setCell(t_jsls, row, SocialInsurance, shown.value.socialInsurance.toFixed2());
        setCell(t_jsls, row, HousingFund, shown.value.housingFund.toFixed2());
        setCell(t_jsls, row, OtherDeductions, shown.value.otherDeductions.toFixed2());
    }
}

// The bases as read with the typed ones set from their month; none, with the reason said,
// when the month is wrong or the change would rewrite what a stored month was computed with.
std::optional<DatedBases> EmployeeTaxDialog::basesTyped() {
    DatedBases bases = m_asRead ? m_asRead->bases : DatedBases();
    const EmployeeBases typed = {e_sbjs->value(), e_gjjjs->value(), e_qtkc->value()};
    const QString from = monthKeyOf(e_jsqsny->text());
    if (!from.isEmpty() && !isMonthKey(from)) {
        Messages::plain("基数起始月份输入错误！");
        e_jsqsny->setFocus();
        return std::nullopt;
    }
    if (from.isEmpty() && typed != bases.initial && hasStoredMonths(DM->ADC, m_employee)) {
        Messages::plain("该员工已有已存月份的工资，基数变动请填写起始月份！");
        e_jsqsny->setFocus();
        return std::nullopt;
    }
    bases.setFrom(from, typed);
    return bases;
}

void EmployeeTaxDialog::b_okClick() {
    for (CurrencyEdit *box : {e_sbjs, e_gjjjs, e_qtkc, e_qcsr, e_qcsqkc, e_qczxkc, e_qcyjse})
        if (box->value() < Currency()) {
            Messages::plain("金额不能为负数！");
            box->setFocus();
            return;
        }
    std::optional<DatedBases> bases = basesTyped();
    if (!bases)
        return;
    std::vector<SpecialDeduction> deductions;
    for (int row = 0; row < t_zxkc->rowCount(); ++row) {
        const QString amountText = cellText(t_zxkc, row, Amount);
        const QString from = monthKeyOf(cellText(t_zxkc, row, From));
        const QString through = monthKeyOf(cellText(t_zxkc, row, Through));
        if (amountText.isEmpty() && from.isEmpty() && through.isEmpty())
            continue;
        const std::optional<Currency> amount = amountIn(amountText, std::nullopt);
        if (!amount || *amount <= Currency() || !isMonthKey(from) ||
            (!through.isEmpty() && (!isMonthKey(through) || through < from))) {
            Messages::plain(
                cellText(t_zxkc, row, Kind) +
                "输入错误：每月金额须大于零，月份如 2026年1月，终止月份不早于起始月份！");
            return;
        }
        deductions.push_back({cellText(t_zxkc, row, Kind), *amount, from, through});
    }
    const QString year = e_qcnd->text().trimmed();
    const bool anyOpening = e_qcys->value() > 0 || e_qcsr->value() != Currency() ||
                            e_qcsqkc->value() != Currency() || e_qczxkc->value() != Currency() ||
                            e_qcyjse->value() != Currency();
    if ((anyOpening || !year.isEmpty()) && !isKeptYear(year)) {
        Messages::plain("年初数据的年度输入错误！");
        e_qcnd->setFocus();
        return;
    }

    EmployeeProfile profile;
    profile.bases = std::move(*bases);
    profile.opening = {
        year,           e_qcsr->value(), e_qcsqkc->value(), e_qczxkc->value(), e_qcyjse->value(),
        e_qcys->value()};
    profile.specialDeductions = std::move(deductions);
    if (!storeProfile(DM->ADC, m_employee, m_asRead, profile)) {
        tellChangedMeanwhile();
        showStored();
        return;
    }
    accept();
}
