#pragma once

#include "currency.h"

#include <QByteArray>

// How QCOMPARE prints an amount that differs: as a field reads it, "-1234.5".
inline char *toString(const Currency &amount) {
    return qstrdup(amount.toPlainText().toUtf8().constData());
}
