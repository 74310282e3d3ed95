#include "sjcx.h"

#include "amountcolumnlist.h"
#include "caption.h"
#include "data.h"
#include "dbgrid.h"
#include "flatbutton.h"
#include "fonts.h"
#include "messages.h"
#include "placement.h"
#include "reportlayouts.h"
#include "reportpreview.h"
#include "salarycolumns.h"
#include "spinedit.h"
#include "sqllines.h"
#include "wiring.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <stdexcept>

namespace {

FrameLayout frame() {
    return {QStringLiteral("数据查询"),
            QSize(657, 485),
            QStringLiteral("数 据 查 询"),
            QPoint(258, 5),
            QPoint(632, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Band,
            58};
}

const QString allDepartments = QStringLiteral("所有部门");
// The column the magnifier button sorts by, and the totals sort by.
const QString departmentField = QStringLiteral("bmmc");

// A typed text inside a quoted literal of the statement: doubling its quotes keeps it one
// literal, matched as typed, whatever the operator types.
QString literal(QString text) {
    return text.replace(QLatin1Char('\''), QLatin1String("''"));
}

int employeeNumber(const QString &text) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok)
        throw std::runtime_error(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return number;
}

} // namespace

Tfrm_sjcx::Tfrm_sjcx() : ModuleForm(frame()) {
    setObjectName(QStringLiteral("frm_sjcx"));
    placeMonthRange(this, 32, "Label2");
    Label9 = makeCaption("Label9", QStringLiteral("部门："), {266, 36}, font(), this);
    c_bm = place(new QComboBox(this), "c_bm", {305, 32, 182, 20});
    Label4 = makeCaption("Label4", QStringLiteral("员工编号："), {5, 62}, font(), this);
    e_bh = place(new QLineEdit(this), "e_bh", {68, 59, 41, 18});
    Label5 = makeCaption("Label5", QStringLiteral("姓名："), {127, 62}, font(), this);
    e_xm = place(new QLineEdit(this), "e_xm", {165, 59, 79, 18});
    e_xm->setMaxLength(10);
    Label7 = makeCaption("Label7", QStringLiteral("职务："), {265, 62}, font(), this);
    e_zw = place(new QLineEdit(this), "e_zw", {305, 59, 181, 18});
    e_zw->setMaxLength(20);
    SpeedButton1 = place(new FlatButton(Icon::magnifier, QSize(32, 32), {}, this), "SpeedButton1",
                         {513, 30, 67, 47});
    SpeedButton8 = place(new FlatButton(Icon::printer, QSize(32, 32), {}, this), "SpeedButton8",
                         {583, 30, 67, 48});

    RxDBGrid1 = place(new DBGrid(DM->DS1, this), "RxDBGrid1", {1, 85, 655, 199});
    RxDBGrid1->setOptions({true, true, true, true});
    RxDBGrid1->setColumns({{QStringLiteral("ny"), QStringLiteral("年月"), 43},
                           {QStringLiteral("ygh"), QStringLiteral("编号"), 29},
                           {QStringLiteral("xm"), QStringLiteral("姓名"), 56},
                           {QStringLiteral("xb"), QStringLiteral("性别"), 28},
                           {QStringLiteral("csrq"), QStringLiteral("出生日期"), 73},
                           {QStringLiteral("gzrq"), QStringLiteral("工作日期"), 73},
                           {QStringLiteral("bmmc"), QStringLiteral("部门"), 122},
                           {QStringLiteral("zw"), QStringLiteral("职务"), 149}});
    RxDBGrid2 = place(new DBGrid(DM->DS1, this), "RxDBGrid2", {1, 285, 655, 199});
    RxDBGrid2->setOptions({true, false, true, true});

    QWidget::setTabOrder(RxDBGrid1, e_bh);
    QWidget::setTabOrder(e_bh, e_xm);
    QWidget::setTabOrder(e_xm, c_bm);
    QWidget::setTabOrder(c_bm, e_zw);
    QWidget::setTabOrder(e_zw, e_n);
    QWidget::setTabOrder(e_y1, RxDBGrid2);
    // The month boxes are made first, and would otherwise take the focus on opening.
    RxDBGrid1->setFocus();

    for (DBGrid *grid : {RxDBGrid1, RxDBGrid2})
        grid->OnTitleClick = [this](const GridColumn &column) { RxDBGrid1TitleClick(column); };
    wire(SpeedButton1, &FlatButton::clicked, this, &Tfrm_sjcx::SpeedButton1Click);
    wire(SpeedButton8, &FlatButton::clicked, this, &Tfrm_sjcx::SpeedButton8Click);
    for (SpinEdit *box : monthBoxes())
        wire(box, &SpinEdit::changed, this, &Tfrm_sjcx::e_bhChange);
    wire(c_bm, &QComboBox::currentIndexChanged, this, &Tfrm_sjcx::e_bhChange);
    for (QLineEdit *edit : {e_bh, e_xm, e_zw})
        wire(edit, &QLineEdit::textChanged, this, &Tfrm_sjcx::e_bhChange);
}

void Tfrm_sjcx::FormCreate() {
    showThisMonthRange();

    c_bm->addItem(allDepartments);
    Query &departments = setSql(DM->AQ2, {"select * from BMZD order by bh"});
    departments.open();
    for (departments.first(); !departments.eof(); departments.next())
        c_bm->addItem(departments.field("mc").asString());
    c_bm->setCurrentIndex(0);

    const QList<AmountColumn> columns = buildAmountColumns();
    addAmountGridColumns(*RxDBGrid2, columns);
    QuickRep1 = queryReport(columns);
}

void Tfrm_sjcx::RxDBGrid1TitleClick(const GridColumn &column) {
    runQuery(column.field);
}

void Tfrm_sjcx::SpeedButton1Click() {
    runQuery(departmentField);
}

// The rows of the filters, ordered by `orderField`.
void Tfrm_sjcx::runQuery(const QString &orderField) {
    QStringList lines = QStringList{"select *,"} + SalaryColumns::rowTotalLines();
    lines << "from GZB "
          << "where (ny between :ny and :ny1) ";
    // A department chosen from the list is that one department: 部门1 does not bring 部门10.
    const bool byDepartment = c_bm->currentIndex() > 0;
    if (byDepartment)
        lines << "and (bmmc=:bmmc) ";
    const bool byNumber = !e_bh->text().trimmed().isEmpty();
    if (byNumber)
        lines << "and (ygh=:ygh) ";
    lines << "and (xm like '%" + literal(e_xm->text()) + "%') "
          << "and (zw like '%" + literal(e_zw->text()) + "%') ";
    // The totals are computed, not stored, so they cannot order the rows.
    const bool total = SalaryColumns::totalColumns.contains(orderField, Qt::CaseInsensitive);
    lines << "order by " + (total ? departmentField : orderField);
    Query &query = setSql(DM->AQ1, lines);
    bindMonthKeys(query);
    if (byDepartment)
        query.param("bmmc").setText(c_bm->currentText());
    if (byNumber)
        query.param("ygh").setInteger(employeeNumber(e_bh->text()));
    query.open();
    if (query.isEmpty())
        Messages::information("无符合条件信息！");
}

void Tfrm_sjcx::SpeedButton8Click() {
    const Query &query = DM->AQ1;
    if (!query.isOpen() || query.isEmpty())
        return;
    showReport(QuickRep1, "数据查询_" + monthRangeName(), this);
}

bool Tfrm_sjcx::FormKeyDown(QKeyEvent *event) {
    return e_bh->hasFocus() && e_bhKeyPress(event);
}

// Only digits may be typed into the number. Backspace types a character too and goes the
// same way; Delete types none and still deletes. Enter and Tab move on as everywhere.
bool Tfrm_sjcx::e_bhKeyPress(const QKeyEvent *event) {
    const QString typed = event->text();
    const bool movesOn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                         event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (typed.size() != 1 || movesOn || event->key() == Qt::Key_Delete)
        return false;
    const QChar character = typed.front();
    return !(character >= QLatin1Char('0') && character <= QLatin1Char('9'));
}

void Tfrm_sjcx::e_bhChange() {
    CloseAllQueries();
}
