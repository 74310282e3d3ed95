#include "employeetax.h"

#include "additionaldeductions.h"
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
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>
#include <array>

namespace {

// How far everything below the bases' history stands lower than it would without it.
constexpr int belowHistory = 80;

FrameLayout frame() {
    return {"个税与社保",
            QSize(480, 424 + belowHistory),
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
    t_zxkc = place(new QTableWidget(0, 4, this), "t_zxkc", {12, 124 + below, 456, 128});
    t_zxkc->setHorizontalHeaderLabels({"类别", "每月金额", "起始月份", "终止月份"});
    t_zxkc->verticalHeader()->setVisible(false);
    t_zxkc->verticalHeader()->setDefaultSectionSize(17);
    t_zxkc->setColumnWidth(Kind, 150);
    t_zxkc->horizontalHeader()->setStretchLastSection(true);
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

    makeCaption(QString(), "按年度选择：", {12, 346 + below}, font(), this);
    e_nd = place(new QLineEdit(this), "e_nd", {90, 342 + below, 40, 18});
    e_nd->setMaxLength(4);
    c_nzjhb =
        place(new QCheckBox("年终奖并入当月工资", this), "c_nzjhb", {140, 342 + below, 150, 18});
    c_nzjhb->setToolTip("本年全年一次性奖金不单独计税，并入当月工资按累计预扣法计税");
    c_qnjc = place(new QCheckBox("上年不超过6万元", this), "c_qnjc", {12, 368 + below, 130, 18});
    c_qnjc->setToolTip("上一年度1至12月均在本单位预扣预缴且收入不超过60000元：本年1月起"
                       "直接按全年60000元扣除减除费用");
    c_ljjc = place(new QCheckBox("年中首次取得工资", this), "c_ljjc", {150, 368 + below, 140, 18});
    c_ljjc->setToolTip("本年首次取得工资薪金：减除费用按1月起至本月的月份数计算");
    QObject::connect(e_nd, &QLineEdit::textChanged, this, [this] { showYear(); });
    for (QCheckBox *choice : {c_nzjhb, c_qnjc, c_ljjc})
        QObject::connect(choice, &QCheckBox::toggled, this, [this] { keepYear(); });

    makeCaption(QString(), "减免税额：月份", {12, 398 + below}, font(), this);
    e_jmny = place(new QLineEdit(this), "e_jmny", {100, 394 + below, 76, 18});
    makeCaption(QString(), "金额：", {186, 398 + below}, font(), this);
    e_jmse = place(new CurrencyEdit(this), "e_jmse", {222, 394 + below, 70, 18});
    QObject::connect(e_jmny, &QLineEdit::textChanged, this, [this] { showRelief(); });
    QObject::connect(e_jmse, &CurrencyEdit::changed, this, [this] { keepRelief(); });

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
    showDeductions(profile.specialDeductions);
    m_years = profile.years;
    if (e_nd->text().isEmpty() && !m_years.empty())
        e_nd->setText(m_years.rbegin()->first);
    showYear();
    m_relief = profile.taxRelief;
    showRelief();
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

// A line's kind shows what the law allows of it; a spare line offers the usual amount once its
// kind is chosen.
void EmployeeTaxDialog::showDeductions(const std::vector<SpecialDeduction> &stored) {
    const QStringList &kinds = specialDeductionKinds();
    std::vector<SpecialDeduction> lines = stored;
    for (const QString &kind : kinds)
        if (std::none_of(stored.begin(), stored.end(),
                         [&](const SpecialDeduction &line) { return line.kind == kind; }))
            lines.push_back({kind, Currency(), QString(), QString()});
    std::stable_sort(lines.begin(), lines.end(), [&](const auto &a, const auto &b) {
        return kinds.indexOf(a.kind) < kinds.indexOf(b.kind);
    });
    t_zxkc->clearContents();
    t_zxkc->setRowCount(int(lines.size()) + spareLines);
    // Fresh cells, so that even an empty one is given its alignment when set.
    for (int row = 0; row < t_zxkc->rowCount(); ++row)
        for (const Column column : {Amount, From, Through}) {
            t_zxkc->setItem(row, column, new QTableWidgetItem());
            setCell(t_zxkc, row, column, QString());
        }
    for (int row = 0; row < int(lines.size()); ++row) {
        const SpecialDeduction &line = lines[std::size_t(row)];
        auto *kind = new QTableWidgetItem(line.kind);
        kind->setFlags(kind->flags() & ~Qt::ItemIsEditable);
        kind->setToolTip(standardText(line.kind));
        t_zxkc->setItem(row, Kind, kind);
        const bool given = !line.fromMonth.isEmpty();
        setCell(t_zxkc, row, Amount, given ? line.monthly.toFixed2() : QString());
        setCell(t_zxkc, row, From, line.fromMonth);
        setCell(t_zxkc, row, Through, line.throughMonth);
    }
    for (int row = int(lines.size()); row < t_zxkc->rowCount(); ++row) {
        auto *kind = new QComboBox(t_zxkc);
        kind->addItems(QStringList{QString()} + kinds);
        t_zxkc->setCellWidget(row, Kind, kind);
        QObject::connect(kind, &QComboBox::currentTextChanged, kind, [this, kind, row] {
            kind->setToolTip(standardText(kind->currentText()));
            const std::vector<Currency> usual = standardAmounts(kind->currentText());
            if (!usual.empty() && cellText(t_zxkc, row, Amount).isEmpty())
                setCell(t_zxkc, row, Amount, usual.front().toFixed2());
        });
    }
}

// The choices of the year typed, for the clerk to change; none while no year is typed.
void EmployeeTaxDialog::showYear() {
    const QString year = e_nd->text().trimmed();
    const bool kept = isKeptYear(year);
    const YearSwitches shown = kept ? switchesIn(m_years, year + "01") : YearSwitches();
    const std::array<std::pair<QCheckBox *, bool>, 3> choices = {
        std::pair{c_nzjhb, shown.bonusWithPay}, std::pair{c_qnjc, shown.wholeYearDeduction},
        std::pair{c_ljjc, shown.deductionSinceJanuary}};
    for (const auto &[choice, checked] : choices) {
        const QSignalBlocker quiet(choice);
        choice->setChecked(checked);
        choice->setEnabled(kept);
    }
}

void EmployeeTaxDialog::keepYear() {
    const QString year = e_nd->text().trimmed();
    if (isKeptYear(year))
        m_years[year] = {c_nzjhb->isChecked(), c_qnjc->isChecked(), c_ljjc->isChecked()};
}

std::optional<YearChoices> EmployeeTaxDialog::chosenYears() {
    YearChoices chosen;
    for (const auto &[year, switches] : m_years) {
        if (switches.wholeYearDeduction && switches.deductionSinceJanuary) {
            Messages::plain(year + "年度不能同时选择“上年不超过6万元”和“年中首次取得工资”！");
            return std::nullopt;
        }
        if (switches.wholeYearDeduction &&
            !previousYearAllowsWholeYearDeduction(DM->ADC, m_employee, year)) {
            Messages::plain(year + "年度不能选择“上年不超过6万元”：上年在本单位的工资收入"
                                   "超过60000元或不满12个月！");
            return std::nullopt;
        }
        if (!(switches == YearSwitches()))
            chosen[year] = switches;
    }
    return chosen;
}

// The relief of the month typed; none while no month is typed.
void EmployeeTaxDialog::showRelief() {
    const QString month = monthKeyOf(e_jmny->text());
    const QSignalBlocker quiet(e_jmse);
    e_jmse->setValue(isMonthKey(month) ? reliefIn(m_relief, month) : Currency());
    e_jmse->setEnabled(isMonthKey(month));
}

void EmployeeTaxDialog::keepRelief() {
    const QString month = monthKeyOf(e_jmny->text());
    if (isMonthKey(month))
        m_relief[month] = e_jmse->value();
}

QString EmployeeTaxDialog::kindAt(int row) const {
    if (const auto *chosen = qobject_cast<const QComboBox *>(t_zxkc->cellWidget(row, Kind)))
        return chosen->currentText();
    return cellText(t_zxkc, row, Kind);
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
        const QString kind = kindAt(row);
        if (amountText.isEmpty() && from.isEmpty() && through.isEmpty())
            continue;
        if (kind.isEmpty()) {
            Messages::plain(QStringLiteral("专项附加扣除第%1行请选择类别！").arg(row + 1));
            return;
        }
        const std::optional<Currency> amount = amountIn(amountText, std::nullopt);
        if (!amount || *amount <= Currency() || !isMonthKey(from) ||
            (!through.isEmpty() && (!isMonthKey(through) || through < from))) {
            Messages::plain(
                kind + "输入错误：每月金额须大于零，月份如 2026年1月，终止月份不早于起始月份！");
            return;
        }
        deductions.push_back({kind, *amount, from, through});
    }
    if (const QString fault = specialDeductionFault(deductions); !fault.isEmpty()) {
        Messages::plain(fault);
        return;
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

    const std::optional<YearChoices> years = chosenYears();
    if (!years)
        return;
    TaxRelief relief;
    for (const auto &[month, amount] : m_relief) {
        if (amount < Currency()) {
            Messages::plain(monthCaption(month) + "的减免税额不能为负数！");
            e_jmny->setText(monthCaption(month));
            e_jmse->setFocus();
            return;
        }
        if (amount > Currency())
            relief[month] = amount;
    }

    EmployeeProfile profile;
    profile.bases = std::move(*bases);
    profile.opening = {
        year,           e_qcsr->value(), e_qcsqkc->value(), e_qczxkc->value(), e_qcyjse->value(),
        e_qcys->value()};
    profile.specialDeductions = std::move(deductions);
    profile.years = *years;
    profile.taxRelief = std::move(relief);
    if (!storeProfile(DM->ADC, m_employee, m_asRead, profile)) {
        tellChangedMeanwhile();
        showStored();
        return;
    }
    accept();
}
