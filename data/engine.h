#pragma once

#include "sqldialect.h"

#include <QString>
#include <cstdint>
#include <memory>

class MonthClaim;
class ResultSet;

// One statement prepared by an engine, run as often as its values change. Values are bound
// by position (from 1), one for each marker of the translated text.
class EngineStatement {
public:
    virtual ~EngineStatement() = default;

    virtual void bindNull(int position) = 0;
    virtual void bindText(int position, const QString &value) = 0;
    virtual void bindInteger(int position, std::int64_t value) = 0;
    virtual void bindReal(int position, double value) = 0;

    // Runs the statement with the values bound and returns the rows it inserted, changed or
    // deleted. With `rows`, its whole result is read into it; a statement that returns no
    // rows is then an error. Throws DbError with the engine's text.
    virtual int execute(ResultSet *rows) = 0;
};

// What the data module needs of a database engine: the one place that knows whether the
// payroll lives in a file or on a server. Everything above it speaks the windows' statements
// and reads results; each engine turns those into its own dialect and calls.
class Engine {
public:
    virtual ~Engine() = default;

    virtual SqlDialect dialect() const = 0;
    // Prepares a statement already in the engine's dialect. Throws DbError.
    virtual std::unique_ptr<EngineStatement> prepare(const QString &sql) = 0;
    // Runs statements without parameters or rows (structure, settings). Throws DbError.
    virtual void execute(const QString &sql) = 0;

    // Work that lands whole or not at all (see transaction.h). Throw DbError.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;

    // This connection's claims on months (see monthclaim.h).
    virtual MonthClaim &monthClaim() = 0;

    // Statements run between these whose results nobody reads may travel together (see
    // writebatch.h). endBatch() sends the rest and throws the first error, if any; with
    // `discard`, it only ends the batch, for a transaction that is being rolled back.
    virtual void beginBatch() = 0;
    virtual void endBatch(bool discard) = 0;
};
