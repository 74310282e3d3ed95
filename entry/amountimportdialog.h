#pragma once

#include "amountimport.h"
#include "importdialog.h"

class EntryMonth;

// "从Excel导入本月金额…": a sheet's amounts into the month being entered. What it writes goes
// into the worksheet like typed amounts, so the computed items follow and 保存 or 取消 decide.
class AmountImportDialog : public ImportDialog {
public:
    explicit AmountImportDialog(EntryMonth &month);

protected:
    QStringList knownHeaders() const override;
    QString preview(const ImportSheet &sheet, bool &importable) override;
    void write() override;

private:
    EntryMonth &m_month;
    QList<AmountImport::Item> m_items;
    QList<AmountImport::MonthRow> m_rows;
    AmountImport::Preview m_preview;
};
