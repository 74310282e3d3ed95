#include "bankfile.h"

#include "exportfile.h"
#include "xlsxsheet.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringEncoder>

namespace {

[[noreturn]] void refuse(const QString &text) {
    throw BankFileRefused(text.toStdString());
}

QString fieldValue(const BankField &field, const BankPayment &payment) {
    switch (field.kind) {
    case BankFieldKind::Account:
        return payment.account;
    case BankFieldKind::Name:
        return payment.name;
    case BankFieldKind::Amount:
        return payment.amount.toFixed2();
    case BankFieldKind::Bank:
        return payment.bank;
    case BankFieldKind::Document:
        return payment.document;
    case BankFieldKind::Mobile:
        return payment.mobile;
    case BankFieldKind::Purpose:
    case BankFieldKind::Constant:
        break;
    }
    return field.text;
}

// Whose value, for a message: "员工“张三”（编号1）的账号".
QString whose(const BankPayment &payment, const BankField &field) {
    return QStringLiteral("员工“%1”（编号%2）的%3")
        .arg(payment.name)
        .arg(payment.employee)
        .arg(bankFieldName(field.kind));
}

// One value of a line as it will stand in the file; `where` names it in a refusal.
struct Value {
    QString text;
    QString where;
};

// Turns a profile's lines into the bytes of its file.
class TextFile {
public:
    explicit TextFile(const BankProfile &profile) : m_profile(profile) {
        if (m_profile.gbk && !QStringEncoder("GBK").isValid())
            refuse(QStringLiteral("本机不能按GBK编码写文件，请改用UTF-8编码的格式。"));
    }

    // A line written as it is: a header line.
    void plain(const Value &value) { m_bytes += encoded(value) + "\r\n"; }

    // A line of the profile's fields: `values` in the order of its fields.
    void fields(const QList<Value> &values) {
        QList<QByteArray> cells;
        for (qsizetype index = 0; index < values.size(); ++index)
            cells << cell(values[index], m_profile.fields[std::size_t(index)]);
        m_bytes += cells.join(encoded({m_profile.separator, QStringLiteral("分隔符")})) + "\r\n";
    }

    // The count and the total, between the separator (a space when there is none).
    void total(const QString &count, const QString &amount) {
        const bool fixed = m_profile.kind == BankFileKind::FixedWidth;
        const QString between =
            fixed && m_profile.separator.isEmpty() ? QStringLiteral(" ") : m_profile.separator;
        m_bytes += encoded({count + between + amount, QStringLiteral("合计行")}) + "\r\n";
    }

    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray encoded(const Value &value) const {
        if (!m_profile.gbk)
            return value.text.toUtf8();
        QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(value.text);
        if (encoder.hasError())
            refuse(QStringLiteral("%1“%2”含有GBK编码中没有的字符，不能写入银行文件。请修改，"
                                  "或改用UTF-8编码的格式。")
                       .arg(value.where, value.text));
        return bytes;
    }

    QByteArray cell(const Value &value, const BankField &field) const {
        if (value.text.contains(QChar('\n')) || value.text.contains(QChar('\r')))
            refuse(QStringLiteral("%1含有换行，不能写入银行文件。").arg(value.where));
        if (m_profile.kind == BankFileKind::Separated)
            return encoded({quoted(value.text), value.where});
        if (!m_profile.separator.isEmpty() && value.text.contains(m_profile.separator))
            refuse(QStringLiteral("%1“%2”含有分隔符“%3”，不能写入银行文件。")
                       .arg(value.where, value.text, m_profile.separator));
        const QByteArray bytes = encoded(value);
        if (bytes.size() > field.width)
            refuse(QStringLiteral("%1“%2”超出字段宽度（%3字节），不能写入银行文件。")
                       .arg(value.where, value.text)
                       .arg(field.width));
        const QByteArray padding(field.width - bytes.size(), ' ');
        return field.rightAligned ? padding + bytes : bytes + padding;
    }

    // As a csv reader takes it back: in quotes, inner quotes doubled, when it holds the
    // separator or a quote.
    QString quoted(const QString &text) const {
        if (!text.contains(m_profile.separator) && !text.contains(QChar('"')))
            return text;
        return QChar('"') + QString(text).replace(QChar('"'), QStringLiteral("\"\"")) + QChar('"');
    }

    const BankProfile &m_profile;
    QByteArray m_bytes;
};

QList<Value> captions(const BankProfile &profile) {
    QList<Value> values;
    for (std::size_t index = 0; index < profile.fields.size(); ++index)
        values << Value{profile.fields[index].caption,
                        QStringLiteral("第%1个字段的标题").arg(index + 1)};
    return values;
}

QList<Value> paymentLine(const BankProfile &profile, const BankPayment &payment) {
    QList<Value> values;
    for (const BankField &field : profile.fields)
        values << Value{fieldValue(field, payment), whose(payment, field)};
    return values;
}

void writeWorkbook(const QString &path, const BankProfile &profile, const BankBatch &batch) {
    ExportFile file(path);
    file.device().close(); // the workbook writes the file by its name
    {
        // Header lines in the first column, the captions bold, accounts and every other text
        // as text (leading zeros stay), amounts as numbers with two decimals.
        XlsxSheet book(file, QStringLiteral("代发"), {.textsStayText = true});
        int row = 0;
        for (const QString &line : profile.headerLines)
            book.text(row++, 0, line);
        if (profile.captionLine) {
            for (std::size_t column = 0; column < profile.fields.size(); ++column)
                book.text(row, int(column), profile.fields[column].caption, true);
            ++row;
        }
        auto total = [&] {
            book.number(row, 0, double(batch.payable.size()));
            book.amount(row++, 1, batch.total());
        };
        if (profile.totalLine == BankTotalLine::First)
            total();
        for (const BankPayment &payment : batch.payable) {
            for (std::size_t column = 0; column < profile.fields.size(); ++column) {
                const BankField &field = profile.fields[column];
                if (field.kind == BankFieldKind::Amount)
                    book.amount(row, int(column), payment.amount);
                else
                    book.text(row, int(column), fieldValue(field, payment));
            }
            ++row;
        }
        if (profile.totalLine == BankTotalLine::Last)
            total();
        book.close();
    }
    file.commit();
}

} // namespace

QByteArray bankFileText(const BankProfile &profile, const BankBatch &batch) {
    TextFile text(profile);
    for (qsizetype line = 0; line < profile.headerLines.size(); ++line)
        text.plain({profile.headerLines[line], QStringLiteral("表头第%1行").arg(line + 1)});
    if (profile.captionLine)
        text.fields(captions(profile));
    const QString count = QString::number(batch.payable.size());
    if (profile.totalLine == BankTotalLine::First)
        text.total(count, batch.total().toFixed2());
    for (const BankPayment &payment : batch.payable)
        text.fields(paymentLine(profile, payment));
    if (profile.totalLine == BankTotalLine::Last)
        text.total(count, batch.total().toFixed2());
    return text.bytes();
}

QString writeBankFile(const QString &path, const BankProfile &profile, const BankBatch &batch) {
    if (profile.kind == BankFileKind::Workbook) {
        writeWorkbook(path, profile, batch);
    } else {
        const QByteArray bytes = bankFileText(profile, batch);
        ExportFile file(path);
        file.device().write(bytes);
        file.commit();
    }
    return QFileInfo(path).absoluteFilePath();
}

QString suggestedBankFileName(const BankProfile &profile, const QString &month) {
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\s]"));
    const QString suffix = profile.kind == BankFileKind::Workbook    ? QStringLiteral("xlsx")
                           : profile.kind == BankFileKind::Separated ? QStringLiteral("csv")
                                                                     : QStringLiteral("txt");
    return QStringLiteral("银行代发_%1_%2.%3")
        .arg(month, QString(profile.name).replace(unsafe, QStringLiteral("_")), suffix);
}
