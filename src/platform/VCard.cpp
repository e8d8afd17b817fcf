#include "VCard.h"

#include <algorithm>
#include <vector>

namespace {

constexpr QByteArrayView ReadNames[] = {"N",     "FN",         "TEL",  "EMAIL",
                                        "ADR",   "URL",        "ORG",  "TITLE",
                                        "NOTE",  "CATEGORIES", "UID",  "KIND",
                                        "MEMBER", "X-ADDRESSBOOKSERVER-KIND", "X-ADDRESSBOOKSERVER-MEMBER"};
constexpr QByteArrayView StructuralNames[] = {"BEGIN", "END", "VERSION", "AGENT"};

bool isRead(const QByteArray& name)
{
    return std::any_of(std::begin(ReadNames), std::end(ReadNames),
                       [&](QByteArrayView n) { return VCardText::Same(name, n); });
}

bool isStructural(const QByteArray& name)
{
    return std::any_of(std::begin(StructuralNames), std::end(StructuralNames),
                       [&](QByteArrayView n) { return VCardText::Same(name, n); });
}

bool isVCard(const QByteArray& value) { return value.trimmed().compare("VCARD", Qt::CaseInsensitive) == 0; }

// The head is copied: the property's refers to the text read.
VCardLine lineOf(const VCardText::Property& property, const QString& value)
{
    return {property.begin, property.end, QByteArray(property.head.constData(), property.head.size()), property.eol,
            value};
}

QString withoutUrnUuid(QString id)
{
    id = id.trimmed();
    if (id.startsWith(QStringLiteral("urn:uuid:"), Qt::CaseInsensitive))
        id = id.mid(9);
    return id.toLower();
}

QString cleanLine(QStringView line)
{
    QString out;
    out.reserve(line.size());
    for (const QChar c : line) {
        if (c.category() != QChar::Other_Control)
            out.append(c);
    }
    return out.trimmed();
}

// A text that needs nothing done: one line, no control character, no blank at
// either end, within the cap.
bool isClean(const QString& text)
{
    if (text.isEmpty())
        return true;
    if (text.size() > MaxTextLength || text.front().isSpace() || text.back().isSpace())
        return false;
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.category() == QChar::Other_Control);
    });
}

}  // namespace

QList<const VCardProperty*> VCard::All(QByteArrayView name) const
{
    QList<const VCardProperty*> found;
    for (const VCardProperty& property : properties) {
        if (VCardText::Same(property.name, name))
            found.append(&property);
    }
    if (found.size() > 1)
        std::stable_sort(found.begin(), found.end(),
                         [](const VCardProperty* a, const VCardProperty* b) { return a->pref < b->pref; });
    return found;
}

void ReadCards(const QByteArray& text, const QByteArray& fallbackCharset, const std::function<void(VCard&)>& take)
{
    struct Begun {
        int order;
        VCard card;
    };
    std::vector<Begun> open;   // begun and not ended, the innermost last
    std::vector<Begun> ended;  // ended inside a card still open: they follow it
    int begun = 0;
    int agentDepth = 0;      // inside a card that an AGENT property holds
    bool agentOpen = false;  // a 2.1 AGENT whose card follows on the next line
    auto takeEnded = [&] {
        std::sort(ended.begin(), ended.end(), [](const Begun& a, const Begun& b) { return a.order < b.order; });
        for (Begun& done : ended)
            take(done.card);
        ended.clear();
    };
    VCardText::PropertyReader reader(text, [](const QByteArray& name) { return isRead(name) || isStructural(name); });
    VCardText::Property property;
    while (reader.Next(&property)) {
        const bool begins = property.name == QByteArrayView("BEGIN") && isVCard(property.value);
        const bool ends = property.name == QByteArrayView("END") && isVCard(property.value);
        if (agentDepth > 0) {
            agentDepth += begins ? 1 : ends ? -1 : 0;
            continue;
        }
        if (begins) {
            if (!open.empty() && agentOpen)
                agentDepth = 1;
            else {
                open.push_back({begun++, VCard()});  // inside a card too: a card of its own
                open.back().card.properties.reserve(8);
            }
            agentOpen = false;
            continue;
        }
        agentOpen = false;
        if (open.empty())
            continue;
        VCard& card = open.back().card;
        if (ends) {
            card.endLine = property.begin;
            card.endEol = property.eol;
            ended.push_back(std::move(open.back()));
            open.pop_back();
            if (open.empty())
                takeEnded();
        } else if (property.name == QByteArrayView("AGENT")) {
            const QByteArray value = property.value.trimmed();
            if (value.isEmpty())
                agentOpen = true;
            else if (value.compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0)
                agentDepth = 1;
        } else if (property.name == QByteArrayView("VERSION")) {
            const QByteArray version = property.value.trimmed();
            card.version = QByteArray(version.constData(), version.size());  // the value refers to the text
        } else {
            QString value = VCardText::DecodeValue(property, fallbackCharset);
            if (property.name == QByteArrayView("FN") && card.fn.begin < 0)
                card.fn = lineOf(property, value);
            if (property.name == QByteArrayView("N") && card.n.begin < 0)
                card.n = lineOf(property, value);
            card.properties.append({property.name, property.types, property.pref, std::move(value)});
        }
    }
    takeEnded();  // the cards that ended inside one left without its END
}

QList<VCard> ReadCards(const QByteArray& text, const QByteArray& fallbackCharset)
{
    QList<VCard> cards;
    ReadCards(text, fallbackCharset, [&](VCard& card) { cards.append(std::move(card)); });
    return cards;
}

QString CleanText(const QString& text, bool keepLineBreaks)
{
    if (isClean(text))
        return text;
    QStringList lines;
    qsizetype length = 0;
    qsizetype start = 0;
    while (start <= text.size() && length <= MaxTextLength) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        const QString line = cleanLine(QStringView(text).sliced(start, end - start));
        if (!line.isEmpty() || (keepLineBreaks && !lines.isEmpty())) {
            lines.append(line);
            length += line.size() + 2;
        }
        if (end + 1 < text.size() && text[end] == QLatin1Char('\r') && text[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QString out = lines.join(keepLineBreaks ? QStringLiteral("\n") : QStringLiteral(", "));
    if (out.size() > MaxTextLength)
        out.truncate(out[MaxTextLength - 1].isHighSurrogate() ? MaxTextLength - 1 : MaxTextLength);
    return out;
}

bool IsGroupCard(const VCard& card)
{
    for (const VCardProperty& property : card.properties) {
        if ((property.name == "KIND" || property.name == "X-ADDRESSBOOKSERVER-KIND")
            && property.value.trimmed().compare(QStringLiteral("group"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString CardUid(const VCard& card)
{
    const VCardProperty* uid = card.First("UID");
    return uid ? withoutUrnUuid(VCardText::Unescape(uid->value)) : QString();
}

QStringList CardMembers(const VCard& card)
{
    QStringList members;
    for (const char* name : {"MEMBER", "X-ADDRESSBOOKSERVER-MEMBER"}) {
        for (const VCardProperty* member : card.All(name)) {
            const QString value = VCardText::Unescape(member->value).trimmed();
            if (value.startsWith(QStringLiteral("urn:uuid:"), Qt::CaseInsensitive))
                members.append(withoutUrnUuid(value));
        }
    }
    return members;
}

QStringList CardCategories(const VCard& card)
{
    QStringList categories;
    for (const VCardProperty* property : card.All("CATEGORIES")) {
        for (const QString& part : VCardText::SplitUnescaped(property->value, QLatin1Char(','))) {
            const QString name = CleanText(VCardText::Unescape(part));
            if (!name.isEmpty())
                categories.append(name);
        }
    }
    return categories;
}
