#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The text of a PDF file as poppler reads it back, in page layout order.
inline QString pdfText(const QString &path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return QStringLiteral("pdftotext failed: ") + process.errorString();
    return QString::fromUtf8(process.readAllStandardOutput());
}
