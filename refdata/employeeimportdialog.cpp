#include "employeeimportdialog.h"

#include "caption.h"
#include "placement.h"
#include "wiring.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScopedValueRollback>
#include <QSettings>

namespace {

constexpr int fieldsPerRow = 4;
constexpr int fieldWidth = 170;
constexpr int fieldHeight = 24;
const QString notImported = QStringLiteral("（不导入）");

QString settingKey(int field) {
    return QStringLiteral("employeeImport/column%1").arg(field);
}

QString statusText(EmployeeImport::RowPreview::Status status) {
    using Status = EmployeeImport::RowPreview::Status;
    switch (status) {
    case Status::New:
        return QStringLiteral("新增");
    case Status::Changed:
        return QStringLiteral("修改");
    case Status::Unchanged:
        return QStringLiteral("不变");
    case Status::Refused:
        return QStringLiteral("不导入");
    }
    return {};
}

} // namespace

EmployeeImportDialog::EmployeeImportDialog()
    : ImportDialog("导入员工", "导 入 员 工", QSize(700, 520),
                   (EmployeeImport::FieldCount + fieldsPerRow - 1) / fieldsPerRow * fieldHeight +
                       28) {
    setObjectName("employeeImportDialog");
    for (int field = 0; field < EmployeeImport::FieldCount; ++field) {
        const int x = 12 + field % fieldsPerRow * fieldWidth;
        const int y = ownControlsTop + field / fieldsPerRow * fieldHeight;
        makeCaption(QString(), EmployeeImport::fieldName(EmployeeImport::Field(field)) + "：",
                    {x, y + 4}, font(), this);
        auto *box = place(new QComboBox(this), "c_field", {x + 62, y, fieldWidth - 70, 20});
        box->setObjectName(QStringLiteral("c_field%1").arg(field));
        box->addItem(notImported);
        c_fields << box;
        wire(box, &QComboBox::currentIndexChanged, this, &EmployeeImportDialog::mappingChange);
    }
    const int belowFields = ownControlsTop + (EmployeeImport::FieldCount + fieldsPerRow - 1) /
                                                 fieldsPerRow * fieldHeight;
    c_newDepartments = place(new QCheckBox("新建表中的部门", this), "c_newDepartments",
                             {12, belowFields, 200, 20});
    wire(c_newDepartments, &QCheckBox::clicked, this, &EmployeeImportDialog::mappingChange);
}

void EmployeeImportDialog::FormCreate() {
    m_existing = EmployeeImport::readExisting();
}

QStringList EmployeeImportDialog::knownHeaders() const {
    QStringList headers;
    for (int field = 0; field < EmployeeImport::FieldCount; ++field)
        headers << EmployeeImport::fieldName(EmployeeImport::Field(field));
    const QSettings settings;
    for (int field = 0; field < EmployeeImport::FieldCount; ++field)
        if (settings.contains(settingKey(field)))
            headers << settings.value(settingKey(field)).toString();
    return headers;
}

// Each box lists the sheet's columns as "B 姓名"; the guess picks one.
void EmployeeImportDialog::sheetRead(const ImportSheet &sheet) {
    QHash<int, QString> remembered;
    const QSettings settings;
    for (int field = 0; field < EmployeeImport::FieldCount; ++field)
        if (settings.contains(settingKey(field)))
            remembered.insert(field, settings.value(settingKey(field)).toString());
    const EmployeeImport::Mapping guessed = EmployeeImport::guessMapping(sheet.headers, remembered);
    const QScopedValueRollback<bool> filling(m_filling, true);
    for (int field = 0; field < EmployeeImport::FieldCount; ++field) {
        QComboBox *box = c_fields.at(field);
        box->clear();
        box->addItem(notImported, -1);
        for (int column = 0; column < sheet.headers.size(); ++column)
            if (!sheet.headers.at(column).isEmpty())
                box->addItem(sheetColumnName(column) + " " + sheet.headers.at(column), column);
        box->setCurrentIndex(qMax(0, box->findData(guessed[field])));
    }
}

EmployeeImport::Mapping EmployeeImportDialog::mapping() const {
    EmployeeImport::Mapping chosen;
    for (int field = 0; field < EmployeeImport::FieldCount; ++field)
        chosen[field] = c_fields.at(field)->currentData().isValid()
                            ? c_fields.at(field)->currentData().toInt()
                            : -1;
    return chosen;
}

// A mapping the clerk chose is remembered by the headers it names.
void EmployeeImportDialog::mappingChange() {
    if (m_filling)
        return;
    QSettings settings;
    const EmployeeImport::Mapping chosen = mapping();
    for (int field = 0; field < EmployeeImport::FieldCount; ++field)
        if (chosen[field] >= 0)
            settings.setValue(settingKey(field), sheet().headers.value(chosen[field]));
    showPreview();
}

QString EmployeeImportDialog::preview(const ImportSheet &sheet, bool &importable) {
    using Status = EmployeeImport::RowPreview::Status;
    m_preview =
        EmployeeImport::preview(sheet, mapping(), m_existing, c_newDepartments->isChecked());
    QStringList lines;
    lines << QStringLiteral("新增 %1 人，修改 %2 人，不变 %3 人，有问题不导入 %4 行。")
                 .arg(m_preview.count(Status::New))
                 .arg(m_preview.count(Status::Changed))
                 .arg(m_preview.count(Status::Unchanged))
                 .arg(m_preview.count(Status::Refused));
    for (const QString &problem : std::as_const(m_preview.problems))
        lines << problem;
    if (!m_preview.newDepartments.isEmpty())
        lines << QStringLiteral("将新建部门：") +
                     m_preview.newDepartments.join(QStringLiteral("、"));
    for (const EmployeeImport::RowPreview &row : std::as_const(m_preview.rows)) {
        lines
            << QStringLiteral("%1 %2 %3").arg(rowPlace(row.row), statusText(row.status), row.name);
        for (const QString &change : row.changes)
            lines << QStringLiteral("    ") + change;
        for (const QString &problem : row.problems)
            lines << QStringLiteral("    ！") + problem;
    }
    importable = m_preview.count(Status::New) + m_preview.count(Status::Changed) > 0;
    return lines.join(u'\n');
}

void EmployeeImportDialog::write() {
    EmployeeImport::write(m_preview, m_existing);
}
