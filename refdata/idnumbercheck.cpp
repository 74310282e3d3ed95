#include "idnumbercheck.h"

QString idNumberProblem(const QString &number) {
    if (number.size() != 18)
        return QStringLiteral("证件号码“%1”不是18位。").arg(number);
    static constexpr int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static const char checks[] = "10X98765432";
    int sum = 0;
    for (int at = 0; at < 17; ++at) {
        const QChar c = number[at];
        if (c < u'0' || c > u'9')
            return QStringLiteral("证件号码“%1”的前17位应全是数字。").arg(number);
        sum += (c.unicode() - u'0') * weights[at];
    }
    if (number[17].toUpper() != QChar::fromLatin1(checks[sum % 11]))
        return QStringLiteral("证件号码“%1”的校验位不对，请核对。").arg(number);
    return {};
}
