#include "SqliteCollation.h"

#include <QString>

#include <sqlite3.h>

namespace {

int compareUtf16(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return CompareNoCase(QStringView(static_cast<const char16_t*>(a), lengthA / 2),
                         QStringView(static_cast<const char16_t*>(b), lengthB / 2));
}

}  // namespace

int CompareNoCase(QStringView a, QStringView b)
{
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool RegisterNoCaseCollation(sqlite3* db)
{
    return sqlite3_create_collation_v2(db, NoCaseCollationName, SQLITE_UTF16_ALIGNED, nullptr, compareUtf16,
                                       nullptr)
           == SQLITE_OK;
}
