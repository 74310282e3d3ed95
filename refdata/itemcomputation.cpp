#include "itemcomputation.h"

#include "amountcell.h"
#include "caption.h"
#include "currencyedit.h"
#include "data.h"
#include "fonts.h"
#include "messages.h"
#include "monthtext.h"
#include "payrollrules.h"
#include "placement.h"
#include "sqllines.h"
#include "toolbutton.h"
#include "transaction.h"
#include "wiring.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {

FrameLayout frame() {
    return {"计算方式",
            QSize(420, 360),
            "计  算  方  式",
            QPoint(138, 5),
            QPoint(395, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

constexpr int bracketRows = 8;
const QStringList methods = {"手工录入", "按比例", "个人所得税"};

QString cellText(const QTableWidget *table, int row, int column) {
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

} // namespace

Tfrm_xmjs::Tfrm_xmjs(qint64 item, const QString &name, bool deduction)
    : ModuleForm(frame()), m_item(item), m_deduction(deduction) {
    setObjectName("frm_xmjs");
    l_mc = makeCaption("l_mc", "项目：" + name, {12, 34}, font(), this);
    makeCaption(QString(), "计算方式：", {12, 60}, font(), this);
    c_jsfs = place(new QComboBox(this), "c_jsfs", {80, 56, 110, 20});
    c_jsfs->addItems(deduction ? methods : methods.mid(0, 2));
    makeCaption(QString(), "比例(%)：", {210, 60}, font(), this);
    e_bl = place(new QLineEdit(this), "e_bl", {270, 56, 70, 18});
    makeCaption(QString(), "基数：", {12, 86}, font(), this);
    c_jsjs = place(new QComboBox(this), "c_jsjs", {80, 82, 110, 20});
    c_jsjs->addItems({"社保基数", "公积金基数"});
    makeCaption(QString(), "下限：", {12, 112}, font(), this);
    e_xx = place(new CurrencyEdit(this), "e_xx", {80, 108, 110, 18});
    makeCaption(QString(), "上限：", {210, 112}, font(), this);
    e_sx = place(new CurrencyEdit(this), "e_sx", {270, 108, 110, 18});
    c_sqkc = place(new QCheckBox("税前扣除", this), "c_sqkc", {12, 134, 120, 17});
    c_sqkc->setVisible(deduction);
    c_js = place(new QCheckBox("计税", this), "c_js", {12, 134, 120, 17});
    c_js->setVisible(!deduction);
    c_js->setChecked(true);

    makeCaption(QString(), "税率表起始月份：", {12, 162}, font(), this);
    e_qsny = place(new QLineEdit(this), "e_qsny", {110, 158, 60, 18});
    makeCaption(QString(), "每月减除费用：", {190, 162}, font(), this);
    e_jcfy = place(new CurrencyEdit(this), "e_jcfy", {280, 158, 100, 18});
    t_sl = place(new QTableWidget(bracketRows, 3, this), "t_sl", {12, 182, 396, 130});
    t_sl->setHorizontalHeaderLabels({"累计应纳税所得额上限", "税率(%)", "速算扣除数"});
    t_sl->horizontalHeader()->setStretchLastSection(true);
    t_sl->setColumnWidth(0, 150);
    t_sl->setColumnWidth(1, 80);
    t_sl->verticalHeader()->setDefaultSectionSize(15);

    b_ok = makeToolButton("b_ok", Icon::save, "确定", {240, 316, 80, 40}, this);
    b_cancel = makeToolButton("b_cancel", Icon::cancel, "取消", {325, 316, 80, 40}, this);

    wire(c_jsfs, &QComboBox::currentIndexChanged, this, &Tfrm_xmjs::c_jsfsChange);
    wire(b_ok, &FlatButton::clicked, this, &Tfrm_xmjs::b_okClick);
    QObject::connect(b_cancel, &FlatButton::clicked, this, &QDialog::reject);
}

void Tfrm_xmjs::FormCreate() {
    Query &rule = setSql(DM->AQUP, {"select * from GZXMJS where xmbh=:xmbh"});
    rule.param("xmbh").setInteger(m_item);
    rule.open();
    if (!rule.isEmpty()) {
        const int method = rule.field("jsfs").asString().toInt();
        c_jsfs->setCurrentIndex(method >= 0 && method < c_jsfs->count() ? method : 0);
        e_bl->setText(Percentage::fromUnits(rule.field("bl").asInteger()).toText());
        c_jsjs->setCurrentIndex(rule.field("jsjs").asString() == BaseCode::housingFund ? 1 : 0);
        e_xx->setValue(Currency::fromUnits(rule.field("xx").asInteger()));
        e_sx->setValue(Currency::fromUnits(rule.field("sx").asInteger()));
        c_sqkc->setChecked(rule.field("sqkc").asBoolean());
        c_js->setChecked(!rule.field("bjs").asBoolean());
    }
    rule.close();
    loadTaxTable();
    c_jsfsChange();
}

// The lines in force from the latest start month, as the clerk keeps them current.
void Tfrm_xmjs::loadTaxTable() {
    Query &latest = setSql(DM->AQUP, {"select max(qsny) as qsny from GSSLB"});
    latest.open();
    const QString month = latest.field("qsny").asString();
    e_qsny->setText(month);
    Query &deduction =
        setSql(DM->AQUP, {"select je from GSJCFY where qsny<=:qsny order by qsny desc"});
    deduction.param("qsny").setText(month);
    deduction.open();
    e_jcfy->setValue(Currency::fromUnits(deduction.field("je").asInteger()));
    Query &lines =
        setSql(DM->AQUP, {"select * from GSSLB where qsny=:qsny order by sx is null, sx"});
    lines.param("qsny").setText(month);
    lines.open();
    for (int row = 0; !lines.eof() && row < bracketRows; lines.next(), ++row) {
        const Field limit = lines.field("sx");
        t_sl->setItem(
            row, 0,
            new QTableWidgetItem(
                limit.isNull() ? QString() : Currency::fromUnits(limit.asInteger()).toFixed2()));
        t_sl->setItem(
            row, 1,
            new QTableWidgetItem(Percentage::fromUnits(lines.field("sl").asInteger()).toText()));
        t_sl->setItem(
            row, 2,
            new QTableWidgetItem(Currency::fromUnits(lines.field("sskcs").asInteger()).toFixed2()));
    }
    lines.close();
}

void Tfrm_xmjs::c_jsfsChange() {
    const bool percentage = c_jsfs->currentIndex() == 1;
    const bool tax = c_jsfs->currentIndex() == 2;
    for (QWidget *control : QWidgetList{e_bl, c_jsjs, e_xx, e_sx})
        control->setEnabled(percentage);
    for (QWidget *control : QWidgetList{e_qsny, e_jcfy, t_sl})
        control->setEnabled(tax);
}

// Lines in rising order of their limits; only the last may have none. Empty rows end the table.
std::optional<std::vector<TaxBracket>> Tfrm_xmjs::readTaxTable() {
    std::vector<TaxBracket> lines;
    for (int row = 0; row < bracketRows; ++row) {
        const QString limitText = cellText(t_sl, row, 0);
        const QString rateText = cellText(t_sl, row, 1);
        const QString quickText = cellText(t_sl, row, 2);
        if (limitText.isEmpty() && rateText.isEmpty() && quickText.isEmpty())
            continue;
        const QString wrong = QStringLiteral("税率表第%1行输入错误！").arg(row + 1);
        const std::optional<Currency> limit = amountIn(limitText, Currency());
        const std::optional<Percentage> rate = Percentage::fromText(rateText);
        const std::optional<Currency> quick = amountIn(quickText, Currency());
        const bool open = limitText.isEmpty();
        if (!limit || !rate || !quick || *rate > Percentage::fromUnits(100 * 10000) ||
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

void Tfrm_xmjs::b_okClick() {
    const int method = c_jsfs->currentIndex();
    const std::optional<Percentage> rate =
        method == 1 ? Percentage::fromText(e_bl->text()) : Percentage();
    if (!rate || *rate > Percentage::fromUnits(100 * 10000)) {
        Messages::plain("比例输入错误！");
        e_bl->setFocus();
        return;
    }
    const Currency floor = e_xx->value();
    const Currency cap = e_sx->value();
    if (method == 1 &&
        (floor < Currency() || cap < Currency() || (cap > Currency() && floor > cap))) {
        Messages::plain("下限、上限输入错误！");
        e_xx->setFocus();
        return;
    }
    std::vector<TaxBracket> brackets;
    if (method == 2) {
        Query &other =
            setSql(DM->AQUP, {"select count(*) as n from GZXMJS where jsfs='2' and xmbh<>:xmbh"});
        other.param("xmbh").setInteger(m_item);
        other.open();
        if (other.field("n").asInteger() > 0) {
            Messages::plain("已有计算个人所得税的项目！");
            return;
        }
        if (!isMonthKey(e_qsny->text().trimmed())) {
            Messages::plain("起始月份输入错误！");
            e_qsny->setFocus();
            return;
        }
        if (e_jcfy->value() < Currency()) {
            Messages::plain("减除费用输入错误！");
            e_jcfy->setFocus();
            return;
        }
        const std::optional<std::vector<TaxBracket>> read = readTaxTable();
        if (!read)
            return;
        brackets = *read;
    }

    Transaction transaction(DM->ADC);
    Query &store = setSql(DM->AQUP, {"delete from GZXMJS where xmbh=:xmbh"});
    store.param("xmbh").setInteger(m_item);
    store.execSql();
    // No floor or no cap is stored as null.
    const bool hasFloor = floor > Currency();
    const bool hasCap = cap > Currency();
    setSql(DM->AQUP, {"insert into GZXMJS (xmbh,jsfs,bl,jsjs,xx,sx,sqkc,bjs)",
                      QStringLiteral("values (:xmbh,:jsfs,:bl,:jsjs,%1,%2,:sqkc,:bjs)")
                          .arg(hasFloor ? ":xx" : "null", hasCap ? ":sx" : "null")});
    store.param("xmbh").setInteger(m_item);
    store.param("jsfs").setText(QString::number(method));
    store.param("bl").setInteger(rate->units());
    store.param("jsjs").setText(c_jsjs->currentIndex() == 1 ? BaseCode::housingFund
                                                            : BaseCode::socialInsurance);
    if (hasFloor)
        store.param("xx").setInteger(floor.units());
    if (hasCap)
        store.param("sx").setInteger(cap.units());
    store.param("sqkc").setBoolean(m_deduction && c_sqkc->isChecked());
    store.param("bjs").setBoolean(!m_deduction && !c_js->isChecked());
    store.execSql();
    if (method == 2) {
        const QString month = e_qsny->text().trimmed();
        for (const char *table : {"GSSLB", "GSJCFY"}) {
            setSql(DM->AQUP, {QStringLiteral("delete from %1 where qsny=:qsny").arg(table)});
            store.param("qsny").setText(month);
            store.execSql();
        }
        setSql(DM->AQUP, {"insert into GSJCFY (qsny,je) values (:qsny,:je)"});
        store.param("qsny").setText(month);
        store.param("je").setInteger(e_jcfy->value().units());
        store.execSql();
        for (const TaxBracket &line : brackets) {
            setSql(DM->AQUP, {QStringLiteral("insert into GSSLB (qsny,sx,sl,sskcs) "
                                             "values (:qsny,%1,:sl,:sskcs)")
                                  .arg(line.upTo ? ":sx" : "null")});
            store.param("qsny").setText(month);
            if (line.upTo)
                store.param("sx").setInteger(line.upTo->units());
            store.param("sl").setInteger(line.rate.units());
            store.param("sskcs").setInteger(line.quickDeduction.units());
            store.execSql();
        }
    }
    transaction.commit();
    accept();
}
