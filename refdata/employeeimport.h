#pragma once

#include "importsheet.h"
#include "rowasread.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// Employees taken from a sheet: its columns mapped to the employee's fields, each row found
// among the employees (by 编号, else 证件号码, else a name only one of them has) or new. Working
// it out writes nothing; writing takes every row without a problem in one transaction.
namespace EmployeeImport {

enum Field {
    Number,
    Name,
    Sex,
    Birth,
    Start,
    Department,
    Position,
    DocumentKind,
    Document,
    Nationality,
    Bank,
    Account,
    Mobile,
    FieldCount
};

// The field's name as the clerk reads it, the header it is guessed from first.
QString fieldName(Field field);

// The column of each field, -1 for none.
using Mapping = std::array<int, FieldCount>;
// The columns guessed from the headers: the header `remembered` names for the field, else the
// field's own name or a usual other name for it.
Mapping guessMapping(const QStringList &headers, const QHash<int, QString> &remembered = {});

// The employees, departments and identity rows as they are now.
struct Existing {
    struct Employee {
        qint64 number = 0;
        std::array<QString, FieldCount> values; // Number and Department as text (its name)
        qint64 department = 0;
        bool hasIdentity = false;
        RowAsRead asRead;
    };
    QList<Employee> employees;
    QHash<QString, qint64> departments; // by name
};
Existing readExisting();

struct RowPreview {
    enum class Status { New, Changed, Unchanged, Refused };
    int row = 0; // on the sheet
    Status status = Status::Refused;
    qint64 employee = 0; // the existing one; 0 for a new employee
    QString name;
    QStringList changes; // "部门：办公室 → 财务科"
    QStringList problems;
    // The fields the row sets (its mapped, non-empty cells), as stored.
    QHash<int, QString> values;
};

struct Preview {
    QList<RowPreview> rows;
    QStringList newDepartments;
    QStringList problems; // of the sheet as a whole

    int count(RowPreview::Status status) const;
};

Preview preview(const ImportSheet &sheet, const Mapping &mapping, const Existing &existing,
                bool createDepartments);

// Writes the new and changed rows of `preview`, with the new departments, in one transaction.
// An employee another clerk changed since `existing` was read makes it write nothing at all:
// throws DbError.
void write(const Preview &preview, const Existing &existing);

} // namespace EmployeeImport
