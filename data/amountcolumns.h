#pragma once

#include <QStringView>

// The one rule that says which names carry money: the item columns f1..f20 and k1..k20 and the
// totals f_h, k_h and sf. Values of these names are stored in ten-thousandths and read back
// as Currency; every other name is passed through unchanged.
bool isAmountColumn(QStringView name);
