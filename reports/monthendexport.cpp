#include "monthendexport.h"

#include "audittrail.h"
#include "data.h"
#include "messages.h"
#include "monthclose.h"
#include "monthkey.h"

bool mayExportMonth(const QString &month) {
    return isMonthClosed(DM->ADC, month) ||
           Messages::confirm(QStringLiteral("%1尚未结账，其工资仍可能调整，导出的文件将与"
                                            "日后的数据不符。仍要导出吗？")
                                 .arg(monthCaption(month)));
}

void recordMonthExport(const QString &month, const QString &path) {
    AuditTrail::recordExport(DM->ADC, month, path, AuditTrail::fileSha256(path));
}
