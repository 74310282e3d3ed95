#include "pinyinorder.h"

#include "dberror.h"
#include "sqlitehandle.h"

#include <QCollator>
#include <memory>
#include <sqlite3.h>

namespace {

QString fromUtf8(const void *text, int bytes) {
    return QString::fromUtf8(static_cast<const char *>(text), bytes);
}

char16_t foldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// SQLite's built-in NOCASE: ASCII letters folded, everything else compared as it is.
int compareNocase(QStringView left, QStringView right) {
    const qsizetype common = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t a = foldAscii(left[i].unicode());
        const char16_t b = foldAscii(right[i].unicode());
        if (a != b)
            return a < b ? -1 : 1;
    }
    return left.size() < right.size() ? -1 : left.size() > right.size() ? 1 : 0;
}

// Pinyin order first; texts the collator cannot tell apart (it ignores case, for one) are
// ordered, and found equal, as the built-in NOCASE would.
int comparePinyin(void *collator, int leftBytes, const void *left, int rightBytes,
                  const void *right) {
    const QString a = fromUtf8(left, leftBytes);
    const QString b = fromUtf8(right, rightBytes);
    if (const int order = static_cast<const QCollator *>(collator)->compare(a, b))
        return order;
    return compareNocase(a, b);
}

void deleteCollator(void *collator) {
    delete static_cast<QCollator *>(collator);
}

} // namespace

void usePinyinOrder(QSqlDatabase &database) {
    sqlite3 *handle = sqliteHandle(database);
    auto collator = std::make_unique<QCollator>(QLocale(QLocale::Chinese, QLocale::China));
    collator->setCaseSensitivity(Qt::CaseInsensitive);
    // In the file's own encoding: SQLite prefers a collation of that encoding, so one of
    // another encoding would never be asked while the built-in NOCASE stands.
    const int status = sqlite3_create_collation_v2(handle, "NOCASE", SQLITE_UTF8, collator.get(),
                                                   comparePinyin, deleteCollator);
    if (status != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(handle)));
    collator.release(); // the connection owns it now
}
