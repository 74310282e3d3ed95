#include "itemcomputation.h"

#include "amountcell.h"
#include "caption.h"
#include "computationsettings.h"
#include "currencyedit.h"
#include "data.h"
#include "datedrates.h"
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
#include <QTableWidget>
#include <algorithm>

namespace {

FrameLayout frame() {
    return {"计算方式",
            QSize(420, 436),
            "计  算  方  式",
            QPoint(138, 5),
            QPoint(395, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

constexpr int bracketRows = 8;
// The methods an item of each kind may have, as the choices show them.
const std::vector<std::pair<Method, QString>> earningMethods = {
    {Method::ByHand, "手工录入"},
    {Method::Percentage, "按比例"},
    {Method::YearEndBonus, "全年一次性奖金"}};
const std::vector<std::pair<Method, QString>> deductionMethods = {
    {Method::ByHand, "手工录入"},
    {Method::Percentage, "按比例"},
    {Method::IncomeTax, "个人所得税"},
    {Method::BonusTax, "全年一次性奖金个税"}};

enum Column { Limit, Rate, QuickDeduction };
enum HistoryColumn { Since, HistoryRate, Floor, Cap };

// How far the tax table stands lower than it would without the rates' history.
constexpr int belowHistory = 76;

QString amountText(const std::optional<Currency> &amount) {
    return amount ? amount->toFixed2() : QString();
}

} // namespace

ItemComputationDialog::ItemComputationDialog(qint64 item, const QString &name, bool deduction)
    : ModuleForm(frame()), m_item(item), m_deduction(deduction) {
    setObjectName("itemComputationDialog");
    l_mc = makeCaption("l_mc", "项目：" + name, {12, 34}, font(), this);
    makeCaption(QString(), "计算方式：", {12, 60}, font(), this);
    c_jsfs = place(new QComboBox(this), "c_jsfs", {80, 56, 110, 20});
    for (const auto &[method, text] : deduction ? deductionMethods : earningMethods)
        c_jsfs->addItem(text, int(method));
    c_jsfs->setItemData(
        c_jsfs->findData(int(deduction ? Method::BonusTax : Method::YearEndBonus)),
        deduction ? "全年一次性奖金单独计税的税额记入本项目；没有这样的项目时记入个人所得税项目"
                  : "本项目为全年一次性奖金：每人每年一次，按月度税率表单独计税",
        Qt::ToolTipRole);
    makeCaption(QString(), "比例（%）：", {196, 60}, font(), this);
    e_bl = place(new QLineEdit(this), "e_bl", {270, 56, 70, 18});
    makeCaption(QString(), "基数：", {12, 86}, font(), this);
    c_jsjs = place(new QComboBox(this), "c_jsjs", {80, 82, 110, 20});
    c_jsjs->addItems({"社保基数", "公积金基数"});
    makeCaption(QString(), "下限：", {12, 112}, font(), this);
    e_xx = place(new CurrencyEdit(this), "e_xx", {80, 108, 110, 18});
    makeCaption(QString(), "上限：", {210, 112}, font(), this);
    e_sx = place(new CurrencyEdit(this), "e_sx", {270, 108, 110, 18});
    makeCaption(QString(), "自月份：", {210, 86}, font(), this);
    e_blqsny = place(new QLineEdit(this), "e_blqsny", {270, 82, 110, 18});
    e_blqsny->setPlaceholderText("最初");
    QObject::connect(e_blqsny, &QLineEdit::editingFinished, e_blqsny,
                     [this] { e_blqsny->setText(monthCaption(monthKeyOf(e_blqsny->text()))); });
    t_blls = place(new QTableWidget(0, 4, this), "t_blls", {12, 156, 396, 70});
    t_blls->setHorizontalHeaderLabels({"起始月份", "比例（%）", "下限", "上限"});
    t_blls->verticalHeader()->setVisible(false);
    t_blls->verticalHeader()->setDefaultSectionSize(15);
    t_blls->horizontalHeader()->setStretchLastSection(true);
    t_blls->setEditTriggers(QAbstractItemView::NoEditTriggers);
    showCellsAs(t_blls, {CellKind::Month, CellKind::Number, CellKind::Amount, CellKind::Amount});
    c_sqkc = place(new QCheckBox("税前扣除", this), "c_sqkc", {12, 134, 120, 17});
    c_sqkc->setVisible(deduction);
    c_js = place(new QCheckBox("计税", this), "c_js", {12, 134, 120, 17});
    c_js->setVisible(!deduction);
    c_js->setChecked(true);

    const int below = belowHistory;
    makeCaption(QString(), "税率表起始月份：", {12, 162 + below}, font(), this);
    e_qsny = place(new QLineEdit(this), "e_qsny", {110, 158 + below, 76, 18});
    makeCaption(QString(), "每月减除费用：", {190, 162 + below}, font(), this);
    e_jcfy = place(new CurrencyEdit(this), "e_jcfy", {280, 158 + below, 100, 18});
    t_sl = place(new QTableWidget(bracketRows, 3, this), "t_sl", {12, 182 + below, 396, 130});
    t_sl->setHorizontalHeaderLabels({"累计应纳税所得额上限", "税率（%）", "速算扣除数"});
    showCellsAs(t_sl, {CellKind::Amount, CellKind::Number, CellKind::Amount});
    t_sl->horizontalHeader()->setStretchLastSection(true);
    t_sl->setColumnWidth(0, 150);
    t_sl->setColumnWidth(1, 80);
    t_sl->verticalHeader()->setDefaultSectionSize(15);

    b_ok = makeToolButton("b_ok", Icon::save, "确定", {240, 316 + below, 80, 40}, this);
    b_cancel = makeToolButton("b_cancel", Icon::cancel, "取消", {325, 316 + below, 80, 40}, this);

    QObject::connect(e_qsny, &QLineEdit::editingFinished, e_qsny,
                     [this] { e_qsny->setText(monthCaption(monthKeyOf(e_qsny->text()))); });
    wire(c_jsfs, &QComboBox::currentIndexChanged, this, &ItemComputationDialog::c_jsfsChange);
    wire(b_ok, &FlatButton::clicked, this, &ItemComputationDialog::b_okClick);
    QObject::connect(b_cancel, &FlatButton::clicked, this, &QDialog::reject);
}

void ItemComputationDialog::FormCreate() {
    showStored();
}

// What is stored now, also kept as read, so that saving can tell whether someone else changed
// it meanwhile.
void ItemComputationDialog::showStored() {
    const std::map<qint64, ItemMethod> stored = readItemMethods(DM->ADC, m_item);
    const auto found = stored.find(m_item);
    m_methodAsRead = found == stored.end() ? std::nullopt : std::optional(found->second);
    const ItemMethod method = m_methodAsRead.value_or(ItemMethod());
    c_jsfs->setCurrentIndex(std::max(0, c_jsfs->findData(int(method.method))));
    showRates(method.contribution);
    if (!m_methodAsRead)
        e_bl->clear();
    c_jsjs->setCurrentIndex(method.base == ContributionBase::HousingFund ? 1 : 0);
    c_sqkc->setChecked(method.preTax);
    c_js->setChecked(!method.untaxed);

    m_lawAsRead = readLatestTaxLaw(DM->ADC);
    e_qsny->setText(monthCaption(m_lawAsRead.month));
    e_jcfy->setValue(m_lawAsRead.monthlyDeduction);
    for (int row = 0; row < bracketRows; ++row) {
        const bool stored = row < int(m_lawAsRead.brackets.size());
        const TaxBracket line = stored ? m_lawAsRead.brackets[std::size_t(row)] : TaxBracket();
        setCell(t_sl, row, Limit, line.upTo ? line.upTo->toFixed2() : QString());
        setCell(t_sl, row, Rate, stored ? line.rate.toText() : QString());
        setCell(t_sl, row, QuickDeduction, stored ? line.quickDeduction.toFixed2() : QString());
    }
    c_jsfsChange();
}

// The boxes hold the latest rate, floor and cap, from their month; the table lists every
// change.
void ItemComputationDialog::showRates(const DatedSetting<ContributionRule> &rates) {
    const ContributionRule &latest = rates.latest();
    e_bl->setText(latest.rate.toText());
    e_xx->setValue(latest.floor.value_or(Currency()));
    e_sx->setValue(latest.cap.value_or(Currency()));
    e_blqsny->setText(rates.changes.empty() ? QString()
                                            : monthCaption(rates.changes.back().fromMonth));
    std::vector<Dated<ContributionRule>> rows;
    if (m_methodAsRead && m_methodAsRead->method == Method::Percentage) {
        rows.push_back({QString(), rates.initial});
        rows.insert(rows.end(), rates.changes.begin(), rates.changes.end());
    }
    t_blls->setRowCount(int(rows.size()));
    for (int row = 0; row < t_blls->rowCount(); ++row) {
        const Dated<ContributionRule> &shown = rows.at(std::size_t(row));
        setCell(t_blls, row, Since, shown.fromMonth.isEmpty() ? "最初" : shown.fromMonth);
        setCell(t_blls, row, HistoryRate, shown.value.rate.toText());
        setCell(t_blls, row, Floor, amountText(shown.value.floor));
        setCell(t_blls, row, Cap, amountText(shown.value.cap));
    }
}

std::optional<DatedSetting<ContributionRule>>
ItemComputationDialog::ratesTyped(const ContributionRule &typed) {
    const bool wasPercentage = m_methodAsRead && m_methodAsRead->method == Method::Percentage;
    if (chosenMethod() != Method::Percentage || !wasPercentage)
        return DatedSetting<ContributionRule>{typed, {}};
    DatedSetting<ContributionRule> rates = m_methodAsRead->contribution;
    const QString from = monthKeyOf(e_blqsny->text());
    if (!from.isEmpty() && !isMonthKey(from)) {
        Messages::plain("比例起始月份输入错误！");
        e_blqsny->setFocus();
        return std::nullopt;
    }
    if (from.isEmpty() && typed != rates.initial && anyStoredMonth(DM->ADC)) {
        Messages::plain("已有已存月份的工资，比例、下限或上限变动请填写起始月份！");
        e_blqsny->setFocus();
        return std::nullopt;
    }
    rates.setFrom(from, typed);
    return rates;
}

void ItemComputationDialog::c_jsfsChange() {
    const bool percentage = chosenMethod() == Method::Percentage;
    const bool tax = chosenMethod() == Method::IncomeTax;
    for (QWidget *control : QWidgetList{e_bl, c_jsjs, e_xx, e_sx, e_blqsny, t_blls})
        control->setEnabled(percentage);
    for (QWidget *control : QWidgetList{e_qsny, e_jcfy, t_sl})
        control->setEnabled(tax);
}

// Lines in rising order of their limits; only the last may have none. Empty rows end the table.
std::optional<std::vector<TaxBracket>> ItemComputationDialog::readTaxTable() {
    std::vector<TaxBracket> lines;
    for (int row = 0; row < bracketRows; ++row) {
        const QString limitText = cellText(t_sl, row, Limit);
        const QString rateText = cellText(t_sl, row, Rate);
        const QString quickText = cellText(t_sl, row, QuickDeduction);
        if (limitText.isEmpty() && rateText.isEmpty() && quickText.isEmpty())
            continue;
        const QString wrong = QStringLiteral("税率表第%1行输入错误！").arg(row + 1);
        const std::optional<Currency> limit = amountIn(limitText, Currency());
        const std::optional<Percentage> rate = Percentage::fromText(rateText);
        const std::optional<Currency> quick = amountIn(quickText, Currency());
        const bool open = limitText.isEmpty();
        if (!limit || !rate || !quick || *rate > Percentage::whole() ||
            (!lines.empty() && !lines.back().upTo) ||
            (!open && !lines.empty() && *limit <= *lines.back().upTo)) {
            Messages::plain(wrong);
            return std::nullopt;
        }
        lines.push_back({open ? std::nullopt : limit, *rate, *quick});
    }
    if (lines.empty()) {
        Messages::plain("税率表不能为空！");
        return std::nullopt;
    }
    return lines;
}

Method ItemComputationDialog::chosenMethod() const {
    return Method(c_jsfs->currentData().toInt());
}

void ItemComputationDialog::b_okClick() {
    const Method method = chosenMethod();
    const std::optional<Percentage> rate =
        method == Method::Percentage ? Percentage::fromText(e_bl->text()) : Percentage();
    if (!rate || *rate > Percentage::whole()) {
        Messages::plain("比例输入错误！");
        e_bl->setFocus();
        return;
    }
    const Currency floor = e_xx->value();
    const Currency cap = e_sx->value();
    if (method == Method::Percentage &&
        (floor < Currency() || cap < Currency() || (cap > Currency() && floor > cap))) {
        Messages::plain("下限、上限输入错误！");
        e_xx->setFocus();
        return;
    }
    std::optional<TaxLawFrom> law;
    if (method == Method::BonusTax && anotherItemComputes(DM->ADC, m_item, method)) {
        Messages::plain("已有记入全年一次性奖金个税的项目！");
        return;
    }
    if (method == Method::IncomeTax) {
        if (anotherItemComputes(DM->ADC, m_item, method)) {
            Messages::plain("已有计算个人所得税的项目！");
            return;
        }
        const QString from = monthKeyOf(e_qsny->text());
        if (!isMonthKey(from)) {
            Messages::plain("起始月份输入错误！");
            e_qsny->setFocus();
            return;
        }
        if (e_jcfy->value() < Currency()) {
            Messages::plain("减除费用输入错误！");
            e_jcfy->setFocus();
            return;
        }
        std::optional<std::vector<TaxBracket>> brackets = readTaxTable();
        if (!brackets)
            return;
        law = TaxLawFrom{from, e_jcfy->value(), std::move(*brackets)};
    }

    // No floor or no cap is stored as none.
    const auto given = [](Currency amount) {
        return amount > Currency() ? std::optional(amount) : std::nullopt;
    };
    const std::optional<DatedSetting<ContributionRule>> rates =
        ratesTyped({*rate, given(floor), given(cap)});
    if (!rates)
        return;
    const ItemMethod chosen{method, *rates,
                            c_jsjs->currentIndex() == 1 ? ContributionBase::HousingFund
                                                        : ContributionBase::SocialInsurance,
                            m_deduction && c_sqkc->isChecked(), !m_deduction && !c_js->isChecked()};
    if (!storeItemChange(DM->ADC, {m_item, m_methodAsRead, chosen, m_lawAsRead, law})) {
        tellChangedMeanwhile();
        showStored();
        return;
    }
    accept();
}
