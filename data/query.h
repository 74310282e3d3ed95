#pragma once

#include "field.h"
#include "parameter.h"
#include "resultset.h"
#include "sqldialect.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Connection;

// A shared query as the windows use it: the statement is built line by line, its ":name"
// parameters are set by name, then it is opened (rows) or executed (no rows). An open query
// holds its whole result and a current row that moves like a cursor with end marks.
class Query : public QObject {
    Q_OBJECT
public:
    using Bookmark = int;
    using AfterScroll = std::function<void(Query &)>;

    explicit Query(Connection &connection, QObject *parent = nullptr);
    ~Query() override;

    // What the engine behind the query reads differently, for a statement being written.
    QString fragment(SqlFragment which) const;

    // Statement text. Any change closes the query and finds its parameters anew.
    void clearSql();
    void addLine(const QString &line);
    QString sqlText() const;

    // Throws DbError when the statement has no parameter of that name (case ignored).
    Parameter &param(const QString &name);

    // Both throw DbError with the engine's text; a parameter left without value is an error.
    void open();
    void execSql();
    void close();
    // The rows the last executed statement inserted, changed or deleted.
    int rowsAffected() const { return m_rowsAffected; }
    bool isOpen() const { return m_result.has_value(); }

    // A closed query reads as one without rows: empty, at both ends, its fields null.
    bool isEmpty() const;
    int recordCount() const;
    bool eof() const;
    bool bof() const;
    int currentRow() const;

    void first();
    void next();
    void prior();
    // Moves to a row chosen elsewhere (a click in a grid); scrolls like any other move.
    void moveTo(int row);

    Bookmark bookmark() const;
    // The position survives a close and reopen of the same statement.
    void gotoBookmark(Bookmark bookmark);

    // A column of the current row; throws DbError for a name the result does not have. On a
    // closed query every name reads as null.
    Field field(const QString &name) const;
    // A column of any row, without moving: for painting rows other than the current one. A
    // row or column outside the result is an error.
    Field fieldAt(int row, const QString &name) const;
    Field cell(int row, int column) const;
    // The column of that name (case ignored), to read many rows by `cell` without looking the
    // name up for each; throws DbError like `field`.
    int columnIndex(const QString &name) const;
    int columnCount() const;
    QString columnName(int column) const;

    // Raised after every move that lands on a row (see the .cpp for the exact rules).
    void setAfterScroll(AfterScroll handler) { m_afterScroll = std::move(handler); }

signals:
    void resultChanged();            // opened or closed
    void currentRowChanged(int row); // the current row moved

private:
    const ResultSet &result() const;
    void checkRow(int row) const;
    void setCurrentRow(int row);
    void scrolled();
    void run(bool wantsRows);
    void findParameters();
    struct Prepared;
    Prepared &prepared();

    Connection &m_connection;
    QString m_text;
    std::vector<Parameter> m_parameters;
    bool m_parametersStale = false;  // the text changed since they were found
    std::size_t m_lastParameter = 0; // where param() found the last one
    std::unique_ptr<Prepared> m_prepared;
    std::optional<ResultSet> m_result;
    int m_row = -1;
    bool m_bof = true;
    bool m_eof = true;
    int m_rowsAffected = 0;
    AfterScroll m_afterScroll;
};
