#pragma once

#include "entrymonth.h"

#include <QTest>

inline const EntryMonth::Pulse noPulse = [] {};

// A month ready to be entered, as the window has it once shown.
inline void openMonth(EntryMonth &month, const QString &key) {
    month.readRules();
    month.activate();
    QVERIFY(month.claim(key));
    month.prepare(noPulse);
    QVERIFY(month.isEntering());
}
