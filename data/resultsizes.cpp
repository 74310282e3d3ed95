#include "resultsizes.h"

namespace {

// The windows run a few dozen different statements; texts built with values in them (a month
// key, a reset list) are new every time and must not pile up.
constexpr qsizetype remembered = 256;

} // namespace

std::shared_ptr<ResultSizes::Size> ResultSizes::of(const QString &sql) {
    auto found = m_sizes.find(sql);
    if (found != m_sizes.end())
        return found.value();
    if (m_sizes.size() >= remembered)
        m_sizes.clear();
    return m_sizes.insert(sql, std::make_shared<Size>()).value();
}
