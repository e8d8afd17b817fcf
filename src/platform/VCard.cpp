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

bool ReadCards(const QByteArray& text, const QByteArray& fallbackCharset, const std::function<void(VCard&)>& take)
{
    std::vector<VCard> open;  // begun and not ended, the innermost last
    int begun = 0;
    int skippedDepth = 0;    // inside a card passed over: an AGENT's, or one nested too deep
    bool agentOpen = false;  // a 2.1 AGENT whose card follows on the next line
    bool whole = true;
    VCardText::PropertyReader reader(text, [](const QByteArray& name) { return isRead(name) || isStructural(name); });
    VCardText::Property property;
    while (reader.Next(&property)) {
        const bool begins = property.name == QByteArrayView("BEGIN") && isVCard(property.value);
        const bool ends = property.name == QByteArrayView("END") && isVCard(property.value);
        if (skippedDepth > 0) {
            skippedDepth += begins ? 1 : ends ? -1 : 0;
            continue;
        }
        if (begins) {
            if (!open.empty() && agentOpen) {
                skippedDepth = 1;
            } else if (open.size() == size_t(MaxNesting)) {
                skippedDepth = 1;
                whole = false;
            } else {
                open.emplace_back().order = begun++;  // inside a card too: a card of its own
                open.back().properties.reserve(8);
            }
            agentOpen = false;
            continue;
        }
        agentOpen = false;
        if (open.empty())
            continue;
        VCard& card = open.back();
        if (ends) {
            card.endLine = property.begin;
            card.endEol = property.eol;
            whole = whole && !card.cut;
            take(card);
            open.pop_back();
        } else if (property.name == QByteArrayView("AGENT")) {
            const QByteArray value = property.value.trimmed();
            if (value.isEmpty())
                agentOpen = true;
            else if (value.compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0)
                skippedDepth = 1;
        } else if (property.name == QByteArrayView("VERSION")) {
            const QByteArray version = property.value.trimmed();
            card.version = QByteArray(version.constData(), version.size());  // the value refers to the text
        } else if (card.properties.size() == MaxCardProperties) {
            card.cut = true;
        } else {
            QString value = VCardText::DecodeValue(property, fallbackCharset);
            if (property.name == QByteArrayView("FN") && card.fn.begin < 0)
                card.fn = lineOf(property, value);
            if (property.name == QByteArrayView("N") && card.n.begin < 0)
                card.n = lineOf(property, value);
            card.properties.append({property.name, property.types, property.pref, std::move(value)});
        }
    }
    return whole;
}

QList<VCard> ReadCards(const QByteArray& text, const QByteArray& fallbackCharset, bool* whole)
{
    QList<VCard> cards;
    const bool read = ReadCards(text, fallbackCharset, [&](VCard& card) { cards.append(std::move(card)); });
    std::stable_sort(cards.begin(), cards.end(), [](const VCard& a, const VCard& b) { return a.order < b.order; });
    if (whole)
        *whole = read;
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
    return uid ? withoutUrnUuid(VCardText::Unescape(uid->value, card.version)) : QString();
}

QStringList CardMembers(const VCard& card)
{
    QStringList members;
    for (const char* name : {"MEMBER", "X-ADDRESSBOOKSERVER-MEMBER"}) {
        for (const VCardProperty* member : card.All(name)) {
            const QString value = VCardText::Unescape(member->value, card.version).trimmed();
            if (value.startsWith(QStringLiteral("urn:uuid:"), Qt::CaseInsensitive))
                members.append(withoutUrnUuid(value));
        }
    }
    return members;
}

QStringList CardCategories(const VCard& card, bool* cut)
{
    QStringList categories;
    for (const VCardProperty* property : card.All("CATEGORIES")) {
        VCardText::ForEachUnescaped(property->value, QLatin1Char(','), [&](QStringView part) {
            if (categories.size() == MaxCardCategories) {
                if (cut)
                    *cut = true;
                return;
            }
            const QString name = CleanText(VCardText::Unescape(part.toString(), card.version));
            if (!name.isEmpty())
                categories.append(name);
        });
    }
    return categories;
}
