#pragma once

#include <QString>

// What every file made from a month for another system (the tax client, the bank) shares: it is
// made from a closed month without a question, from an open one only once the clerk accepts
// that its figures may still change, and the written file goes on the month's audit trail.

// False when `month` is open and the clerk declines to export it as it stands.
bool mayExportMonth(const QString &month);

// Puts the completed file at `path`, made from `month`, on the audit trail with its SHA-256.
void recordMonthExport(const QString &month, const QString &path);
