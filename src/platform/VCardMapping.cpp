#include "VCardMapping.h"

#include <algorithm>

namespace {

using VCardText::SplitUnescaped;
using VCardText::Unescape;

bool has(const VCardProperty& property, QByteArrayView type)
{
    return std::any_of(property.types.begin(), property.types.end(),
                       [&](const QByteArray& t) { return VCardText::Same(t, type); });
}

bool hasAny(const VCardProperty& property, std::initializer_list<QByteArrayView> types)
{
    return std::any_of(types.begin(), types.end(), [&](QByteArrayView type) { return has(property, type); });
}

// A telephone without a type that says what it is, or only VOICE.
bool untypedPhone(const VCardProperty& property)
{
    for (const QByteArray& type : property.types) {
        if (type != QByteArrayView("PREF") && type != QByteArrayView("VOICE"))
            return false;
    }
    return true;
}

// Adds a text that is not empty to joined, after separator when joined has one.
void appendJoined(QString& joined, const QString& text, const QString& separator)
{
    if (text.isEmpty())
        return;
    if (!joined.isEmpty())
        joined += separator;
    joined += text;
}

// The first count parts of a structured value; a part that is a list is joined by
// joiner. Escapes are undone as the card's version has them.
QStringList structured(const VCardProperty* property, QByteArrayView version, int count, const QString& joiner)
{
    QStringList parts(count);
    if (!property)
        return parts;
    int field = 0;
    VCardText::ForEachUnescaped(property->value, QLatin1Char(';'), [&](QStringView value) {
        if (field >= count)
            return;
        QString& part = parts[field++];
        VCardText::ForEachUnescaped(value, QLatin1Char(','), [&](QStringView item) {
            appendJoined(part, CleanText(Unescape(item.toString(), version)), joiner);
        });
    });
    return parts;
}

QString text(const VCardProperty* property, QByteArrayView version)
{
    return property ? CleanText(Unescape(property->value, version)) : QString();
}

QString phone(const VCardProperty* property, QByteArrayView version)
{
    QString number = text(property, version);
    if (number.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive))
        number = number.mid(4).trimmed();
    return number;
}

QString joinNonEmpty(const QStringList& parts, const QString& separator)
{
    qsizetype length = 0;
    for (const QString& part : parts)
        length += part.isEmpty() ? 0 : part.size() + separator.size();
    QString joined;
    joined.reserve(length);  // exact: a contact's name is kept as long as the book
    for (const QString& part : parts)
        appendJoined(joined, part, separator);
    return joined;
}

// FN, else the parts of N.
QString nameOf(const QString& fn, const QStringList& n)
{
    return fn.isEmpty() ? joinNonEmpty(n, QStringLiteral(" ")) : fn;
}

// ADR parts: 0 box, 1 extended, 2 street, 3 city, 4 region, 5 code, 6 country. The
// street is the non-empty ones of the first three.
struct AddressTexts {
    ContactText street, city, region, code, country;
};

void putAddress(const VCardProperty* property, QByteArrayView version, const AddressTexts& into, ContactTexts& texts)
{
    if (!property)
        return;
    const QStringList parts = structured(property, version, 7, QStringLiteral(", "));
    texts[into.street] = joinNonEmpty(parts.mid(0, 3), QStringLiteral(", "));
    texts[into.city] = parts[3];
    texts[into.region] = parts[4];
    texts[into.code] = parts[5];
    texts[into.country] = parts[6];
}

}  // namespace

ContactTexts MapCard(const VCard& card, QString* cardName)
{
    ContactTexts texts;
    const QByteArrayView version = card.version;
    const QStringList name = structured(card.First("N"), version, 5, QStringLiteral(" "));
    const QString fn = text(card.First("FN"), version);
    if (cardName)
        *cardName = nameOf(fn, name);
    texts[FamilyName] = name[0];
    texts[GivenName] = name[1];
    texts[AdditionalNames] = name[2];
    if (texts[GivenName].isEmpty() && texts[FamilyName].isEmpty())
        texts[GivenName] = fn;

    texts[MobilePhone] = phone(card.First("TEL", [](const VCardProperty& p) { return has(p, "CELL"); }), version);
    auto homeCandidate = [](const VCardProperty& p) { return !hasAny(p, {"CELL", "FAX", "PAGER", "WORK"}); };
    const VCardProperty* home = card.First("TEL", [&](const VCardProperty& p) {
        return homeCandidate(p) && has(p, "HOME");
    });
    if (!home)
        home = card.First("TEL", [&](const VCardProperty& p) { return homeCandidate(p) && untypedPhone(p); });
    texts[HomePhone] = phone(home, version);
    texts[HomeFax] = phone(card.First("TEL", [](const VCardProperty& p) {
        return has(p, "FAX") && !has(p, "WORK");
    }), version);
    texts[WorkPhone] = phone(card.First("TEL", [](const VCardProperty& p) {
        return has(p, "WORK") && !hasAny(p, {"CELL", "FAX", "PAGER"});
    }), version);
    texts[WorkFax] = phone(card.First("TEL", [](const VCardProperty& p) {
        return has(p, "WORK") && has(p, "FAX");
    }), version);

    const VCardProperty* homeAddress = card.First("ADR", [](const VCardProperty& p) { return has(p, "HOME"); });
    if (!homeAddress)
        homeAddress = card.First("ADR", [](const VCardProperty& p) { return !has(p, "WORK"); });
    putAddress(homeAddress, version, {HomeStreet, HomeCity, HomeRegion, HomePostalCode, HomeCountry}, texts);
    putAddress(card.First("ADR", [](const VCardProperty& p) { return has(p, "WORK"); }), version,
               {WorkStreet, WorkCity, WorkRegion, WorkPostalCode, WorkCountry}, texts);

    const QList<const VCardProperty*> emails = card.All("EMAIL");
    texts[Email] = text(emails.value(0), version);
    texts[SecondEmail] = text(emails.value(1), version);
    texts[WebAddress] = text(card.First("URL"), version);
    if (const VCardProperty* org = card.First("ORG"))
        texts[Company] = CleanText(Unescape(SplitUnescaped(org->value, QLatin1Char(';')).first(), version));
    texts[JobTitle] = text(card.First("TITLE"), version);

    QStringList notes;
    for (const VCardProperty* note : card.All("NOTE")) {
        const QString kept = CleanText(Unescape(note->value, version), true);
        if (!kept.isEmpty())
            notes.append(kept);
    }
    texts[Notes] = CleanText(notes.join(QLatin1Char('\n')), true);
    return texts;
}

QString CardName(const VCard& card)
{
    return nameOf(text(card.First("FN"), card.version),
                  structured(card.First("N"), card.version, 5, QStringLiteral(" ")));
}
