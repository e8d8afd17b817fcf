#include "CategoryNames.h"

#include "MeasureRecord.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Options.h"

namespace {

bool sameName(const QString& a, const QString& b)
{
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// Blanks at either end make no other name: they cannot be told apart on screen.
bool lookAlike(const QString& a, const QString& b) { return sameName(a.trimmed(), b.trimmed()); }

QString ownText(int number) { return GetOwnText(QStringLiteral("evn") + QString::number(number)); }

}  // namespace

bool IsForbiddenNameChar(QChar c)
{
    static const QString forbidden = QStringLiteral("\\:?<|/*>'\";");
    return c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c);
}

QString WithoutForbiddenNameChars(const QString& name)
{
    QString clean;
    clean.reserve(name.size());
    for (const QChar c : name) {
        if (!IsForbiddenNameChar(c))
            clean.append(c);
    }
    return clean;
}

bool CategoryNameTaken(const QString& name, const QString& ownStoredName)
{
    Recordset& categories = DataEnvironment1().rsCommand1;
    const bool wasOpen = categories.State() == 1;
    OpenIfClosed(categories);
    int ownBuiltIn = 0;
    bool taken = false;
    for (int i = 0; i < categories.RecordCount() && !taken; ++i) {
        const QString stored = categories.ValueAt(i, 0).toString();
        const int builtIn = BuiltInCategoryNumber(categories.ValueAt(i, 1).toString());
        if (sameName(stored, ownStoredName)) {
            ownBuiltIn = builtIn;
            continue;
        }
        taken = lookAlike(stored, name) || (builtIn != 0 && lookAlike(ownText(builtIn), name));
    }
    if (!wasOpen)
        std::ignore = CloseIfOpen(categories);  // only read: the writers store their edits themselves
    for (int number = 1; number <= 3 && !taken; ++number)
        taken = number != ownBuiltIn && lookAlike(ownText(number), name);
    return taken;
}
