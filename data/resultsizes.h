#pragma once

#include <QHash>
#include <QString>
#include <cstddef>
#include <memory>

// How big each statement's result was when it was last read. Most results come back the size
// they were: the worksheet read again after F1, a month prepared again, a report run twice.
// An engine that learns a result's size only row by row reads it into room made to that
// measure, and its arrays neither grow nor get copied while rows arrive.
class ResultSizes {
public:
    struct Size {
        std::size_t cells = 0;
        qsizetype textUnits = 0;
    };

    // The size `sql` last had, empty for a statement not read yet; the statement keeps it up
    // to date for as long as it holds it.
    std::shared_ptr<Size> of(const QString &sql);

private:
    QHash<QString, std::shared_ptr<Size>> m_sizes;
};
