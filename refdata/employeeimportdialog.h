#pragma once

#include "employeeimport.h"
#include "importdialog.h"

class QCheckBox;
class QComboBox;

// "从Excel导入…" in the employee list: a sheet's rows as employees, its columns mapped to the
// employee's fields. The mapping is guessed from the headers and remembered for the next time.
class EmployeeImportDialog : public ImportDialog {
public:
    EmployeeImportDialog();

    void FormCreate() override;

    // The column chosen for each field, in the order of EmployeeImport::Field.
    QList<QComboBox *> c_fields;
    QCheckBox *c_newDepartments = nullptr;

protected:
    QStringList knownHeaders() const override;
    void sheetRead(const ImportSheet &sheet) override;
    QString preview(const ImportSheet &sheet, bool &importable) override;
    void write() override;

private:
    void mappingChange();
    EmployeeImport::Mapping mapping() const;

    EmployeeImport::Existing m_existing;
    EmployeeImport::Preview m_preview;
    bool m_filling = false;
};
