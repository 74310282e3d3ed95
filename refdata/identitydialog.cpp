#include "identitydialog.h"

#include "caption.h"
#include "data.h"
#include "fonts.h"
#include "identitydocument.h"
#include "messages.h"
#include "placement.h"
#include "rowasread.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

FrameLayout frame() {
    return {"证件与银行",
            QSize(400, 250),
            "证 件 与 银 行",
            QPoint(138, 5),
            QPoint(375, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

QLineEdit *textBox(const char *name, const QString &caption, int y, int width, int length,
                   QWidget *parent) {
    makeCaption(QString(), caption, {12, y + 4}, parent->font(), parent);
    auto *box = place(new QLineEdit(parent), name, {100, y, width, 18});
    box->setMaxLength(length);
    return box;
}

} // namespace

EmployeeIdentityDialog::EmployeeIdentityDialog(qint64 employee, const QString &name,
                                               const QString &sex, const QString &birthDate)
    : ModuleForm(frame()), m_employee(employee), m_sex(sex), m_birthDate(birthDate) {
    setObjectName("employeeIdentityDialog");
    l_xm = makeCaption("l_xm", "员工：" + name, {12, 34}, font(), this);
    makeCaption(QString(), "证件类型：", {12, 60}, font(), this);
    c_zjlx = place(new QComboBox(this), "c_zjlx", {100, 56, 200, 20});
    c_zjlx->addItems(identityDocumentKinds());
    e_zjhm = textBox("e_zjhm", "证件号码：", 80, 200, 30, this);
    e_gj = textBox("e_gj", "国籍（地区）：", 104, 100, 30, this);
    e_khyh = textBox("e_khyh", "开户银行：", 128, 280, 50, this);
    e_yhzh = textBox("e_yhzh", "银行账号：", 152, 200, 40, this);
    e_sjhm = textBox("e_sjhm", "手机号码：", 176, 120, 13, this);

    b_ok = makeToolButton("b_ok", Icon::save, "确定", {220, 202, 80, 40}, this);
    b_cancel = makeToolButton("b_cancel", Icon::cancel, "取消", {305, 202, 80, 40}, this);
    wire(b_ok, &FlatButton::clicked, this, &EmployeeIdentityDialog::b_okClick);
    QObject::connect(b_cancel, &FlatButton::clicked, this, &QDialog::reject);
}

void EmployeeIdentityDialog::FormCreate() {
    showStored();
}

// What is stored now, also kept as read, so that saving can tell whether someone else changed
// it meanwhile.
void EmployeeIdentityDialog::showStored() {
    m_asRead = readIdentity(DM->ADC, m_employee);
    const EmployeeIdentity identity = m_asRead.value_or(noIdentity());
    const int kind = c_zjlx->findText(identity.documentKind);
    if (kind < 0) // a kind the list no longer offers still shows as stored
        c_zjlx->addItem(identity.documentKind);
    c_zjlx->setCurrentIndex(kind < 0 ? c_zjlx->count() - 1 : kind);
    e_zjhm->setText(identity.documentNumber);
    e_gj->setText(identity.nationality);
    e_khyh->setText(identity.bank);
    e_yhzh->setText(identity.account);
    e_sjhm->setText(identity.mobile);
}

bool EmployeeIdentityDialog::refused(const std::optional<QString> &problem, QLineEdit *box) {
    if (!problem)
        return false;
    Messages::plain(*problem);
    box->setFocus();
    return true;
}

void EmployeeIdentityDialog::b_okClick() {
    EmployeeIdentity identity;
    identity.documentKind = c_zjlx->currentText();
    identity.documentNumber = normalDocumentNumber(e_zjhm->text());
    identity.nationality = e_gj->text().trimmed();
    identity.bank = e_khyh->text().trimmed();
    identity.account = normalAccountNumber(e_yhzh->text());
    identity.mobile = normalMobileNumber(e_sjhm->text());
    if (!identity.documentNumber.isEmpty() &&
        refused(documentNumberProblem(identity.documentKind, identity.documentNumber, m_birthDate,
                                      m_sex),
                e_zjhm))
        return;
    if (identity.nationality.isEmpty()) {
        Messages::plain("请输入国籍（地区）！");
        e_gj->setFocus();
        return;
    }
    if (!identity.account.isEmpty() && refused(accountNumberProblem(identity.account), e_yhzh))
        return;
    if (!identity.mobile.isEmpty() && refused(mobileNumberProblem(identity.mobile), e_sjhm))
        return;

    const IdentityStore stored = storeIdentity(DM->ADC, m_employee, m_asRead, identity);
    switch (stored.outcome) {
    case IdentityStore::Outcome::ChangedMeanwhile:
        tellChangedMeanwhile();
        showStored();
        return;
    case IdentityStore::Outcome::NumberTaken:
        Messages::plain(QStringLiteral("证件号码%1已是%2的证件号码，同一证件号码不能用于两名员工！")
                            .arg(identity.documentNumber, stored.holder));
        e_zjhm->setFocus();
        return;
    case IdentityStore::Outcome::Stored:
        accept();
        return;
    }
}
