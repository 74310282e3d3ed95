#include "identitydocument.h"

#include <QDate>

namespace {

bool allDigits(const QString &text) {
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The date box's text ("1982- 5-20"); invalid when empty or not a date.
QDate birthDateOf(const QString &text) {
    QString compact = text;
    compact.remove(u' ');
    return QDate::fromString(compact, QStringLiteral("yyyy-M-d"));
}

} // namespace

// ISO 7064 MOD 11-2: the weights are powers of 2 modulo 11, from the last digit backwards.
QChar residentCardCheckCharacter(const QString &digits) {
    int sum = 0;
    int weight = 1;
    for (int i = 16; i >= 0; --i) {
        weight = weight * 2 % 11;
        sum += digits.at(i).digitValue() * weight;
    }
    const int check = (12 - sum % 11) % 11;
    return check == 10 ? QChar(u'X') : QChar(u'0' + check);
}

QString residentIdentityCard() {
    return QStringLiteral("居民身份证");
}

const QStringList &identityDocumentKinds() {
    static const QStringList kinds = {residentIdentityCard(),
                                      QStringLiteral("中国护照"),
                                      QStringLiteral("港澳居民来往内地通行证"),
                                      QStringLiteral("台湾居民来往大陆通行证"),
                                      QStringLiteral("外国护照"),
                                      QStringLiteral("外国人永久居留身份证"),
                                      QStringLiteral("港澳居民居住证"),
                                      QStringLiteral("台湾居民居住证"),
                                      QStringLiteral("外国人工作许可证（A类）"),
                                      QStringLiteral("外国人工作许可证（B类）"),
                                      QStringLiteral("外国人工作许可证（C类）"),
                                      QStringLiteral("其他个人证件")};
    return kinds;
}

QString normalDocumentNumber(const QString &number) {
    return number.trimmed().toUpper();
}

std::optional<QString> documentNumberProblem(const QString &kind, const QString &number,
                                             const QString &birthDate, const QString &sex) {
    if (!identityDocumentKinds().contains(kind))
        return QStringLiteral("证件类型“%1”不是个税申报认可的证件类型！").arg(kind);
    if (number.isEmpty())
        return QStringLiteral("请输入证件号码！");
    if (kind != residentIdentityCard()) {
        if (number.contains(u' '))
            return QStringLiteral("证件号码中不能有空格！");
        return std::nullopt;
    }
    if (number.size() != 18 || !allDigits(number.left(17)))
        return QStringLiteral("居民身份证号码应为18位，前17位为数字！");
    if (number.at(17) != residentCardCheckCharacter(number))
        return QStringLiteral("居民身份证号码的校验位不对，请核对号码！");
    const QDate born = QDate::fromString(number.mid(6, 8), QStringLiteral("yyyyMMdd"));
    if (!born.isValid())
        return QStringLiteral("居民身份证号码中的出生日期不是有效日期！");
    const QDate recorded = birthDateOf(birthDate);
    if (recorded.isValid() && recorded != born)
        return QStringLiteral("居民身份证号码中的出生日期（%1）与员工的出生日期不符！")
            .arg(born.toString(QStringLiteral("yyyy-MM-dd")));
    const QString numberSex =
        number.at(16).digitValue() % 2 == 1 ? QStringLiteral("男") : QStringLiteral("女");
    if (!sex.trimmed().isEmpty() && sex.trimmed() != numberSex)
        return QStringLiteral("居民身份证号码表明性别为%1，与员工的性别不符！").arg(numberSex);
    return std::nullopt;
}

QString normalAccountNumber(const QString &account) {
    QString digits = account;
    digits.remove(u' ');
    digits.remove(QChar(0x3000)); // a full-width blank from a Chinese input method
    return digits;
}

std::optional<QString> accountNumberProblem(const QString &account) {
    if (!allDigits(account))
        return QStringLiteral("银行账号只能由数字组成！");
    return std::nullopt;
}

QString normalMobileNumber(const QString &mobile) {
    return mobile.trimmed();
}

std::optional<QString> mobileNumberProblem(const QString &mobile) {
    if (mobile.size() != 11 || !allDigits(mobile) || mobile.front() != u'1')
        return QStringLiteral("手机号码应为以1开头的11位数字！");
    return std::nullopt;
}
