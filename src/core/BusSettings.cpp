#include "BusSettings.h"

#include "Fatal.h"
#include "Options.h"
#include "platform/Controls.h"

#include <algorithm>
#include <cmath>

int ReadBusNumber(const QString& key)
{
    bool ok = false;
    const int value = ReadOption(BusSettingsSection, key).trimmed().toInt(&ok);
    if (!ok)
        FatalEnd(GetLangText(QStringLiteral("mes294")));
    return value;
}

double LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    const auto digits = [&] {
        while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i;
    };
    digits();
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        digits();
    }
    bool ok = false;
    const double number = text.mid(start, i - start).toDouble(&ok);
    return ok ? number : 0;
}

int RowHeightUnits(const QString& rowHeight)
{
    const double number = LeadingNumber(rowHeight);
    if (number == 0 || number == 1)
        return 1;
    return number == 2 ? 2 : 3;
}

int RowHeightPixels(int units) { return Px(239.811 * units); }

int RowHeightSliderPosition(const QString& rowHeight)
{
    // nearbyint rounds halves to the even neighbour.
    return static_cast<int>(std::nearbyint(std::clamp(LeadingNumber(rowHeight), 1.0, 3.0)));
}

bool WriteBusSettings(int deleteAfterDays, bool notify, int rowHeight)
{
    return WriteOptions(BusSettingsSection, {{QStringLiteral("delwait"), QString::number(deleteAfterDays)},
                                             {QStringLiteral("notify"), QString::number(notify ? 1 : 0)},
                                             {QStringLiteral("rowheight"), QString::number(rowHeight)}});
}
