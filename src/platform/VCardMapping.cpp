#include "VCardMapping.h"

#include <functional>

namespace {

using VCardText::SplitUnescaped;
using VCardText::Unescape;

bool has(const VCardProperty& property, const char* type) { return property.types.contains(type); }

bool hasAny(const VCardProperty& property, std::initializer_list<const char*> types)
{
    for (const char* type : types) {
        if (has(property, type))
            return true;
    }
    return false;
}

// A telephone without a type that says what it is, or only VOICE.
bool untypedPhone(const VCardProperty& property)
{
    for (const QByteArray& type : property.types) {
        if (type != "PREF" && type != "VOICE")
            return false;
    }
    return true;
}

const VCardProperty* firstWhere(const VCard& card, const char* name,
                                const std::function<bool(const VCardProperty&)>& test)
{
    for (const VCardProperty* property : card.All(name)) {
        if (test(*property))
            return property;
    }
    return nullptr;
}

// The parts of a structured value; a part that is a list is joined by joiner.
QStringList structured(const VCardProperty* property, int count, const QString& joiner)
{
    QStringList parts;
    const QStringList raw = property ? SplitUnescaped(property->value, QLatin1Char(';')) : QStringList();
    for (int i = 0; i < count; ++i) {
        QStringList items;
        if (i < raw.size()) {
            for (const QString& item : SplitUnescaped(raw[i], QLatin1Char(','))) {
                const QString text = CleanText(Unescape(item));
                if (!text.isEmpty())
                    items.append(text);
            }
        }
        parts.append(items.join(joiner));
    }
    return parts;
}

QString text(const VCardProperty* property) { return property ? CleanText(Unescape(property->value)) : QString(); }

QString phone(const VCardProperty* property)
{
    QString number = text(property);
    if (number.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive))
        number = number.mid(4).trimmed();
    return number;
}

QString joinNonEmpty(const QStringList& parts, const QString& separator)
{
    QStringList kept;
    for (const QString& part : parts) {
        if (!part.isEmpty())
            kept.append(part);
    }
    return kept.join(separator);
}

// ADR parts: 0 box, 1 extended, 2 street, 3 city, 4 region, 5 code, 6 country. The
// street is the non-empty ones of the first three.
struct AddressTexts {
    ContactText street, city, region, code, country;
};

void putAddress(const VCardProperty* property, const AddressTexts& into, ContactTexts& texts)
{
    if (!property)
        return;
    const QStringList parts = structured(property, 7, QStringLiteral(", "));
    texts[into.street] = joinNonEmpty(parts.mid(0, 3), QStringLiteral(", "));
    texts[into.city] = parts[3];
    texts[into.region] = parts[4];
    texts[into.code] = parts[5];
    texts[into.country] = parts[6];
}

}  // namespace

ContactTexts MapCard(const VCard& card)
{
    ContactTexts texts;
    const QStringList name = structured(card.First("N"), 3, QStringLiteral(" "));
    texts[FamilyName] = name[0];
    texts[GivenName] = name[1];
    texts[AdditionalNames] = name[2];
    if (texts[GivenName].isEmpty() && texts[FamilyName].isEmpty())
        texts[GivenName] = text(card.First("FN"));

    texts[MobilePhone] = phone(firstWhere(card, "TEL", [](const VCardProperty& p) { return has(p, "CELL"); }));
    auto homeCandidate = [](const VCardProperty& p) { return !hasAny(p, {"CELL", "FAX", "PAGER", "WORK"}); };
    const VCardProperty* home = firstWhere(card, "TEL", [&](const VCardProperty& p) {
        return homeCandidate(p) && has(p, "HOME");
    });
    if (!home)
        home = firstWhere(card, "TEL", [&](const VCardProperty& p) { return homeCandidate(p) && untypedPhone(p); });
    texts[HomePhone] = phone(home);
    texts[HomeFax] = phone(firstWhere(card, "TEL", [](const VCardProperty& p) {
        return has(p, "FAX") && !has(p, "WORK");
    }));
    texts[WorkPhone] = phone(firstWhere(card, "TEL", [](const VCardProperty& p) {
        return has(p, "WORK") && !hasAny(p, {"CELL", "FAX", "PAGER"});
    }));
    texts[WorkFax] = phone(firstWhere(card, "TEL", [](const VCardProperty& p) {
        return has(p, "WORK") && has(p, "FAX");
    }));

    const VCardProperty* homeAddress = firstWhere(card, "ADR", [](const VCardProperty& p) { return has(p, "HOME"); });
    if (!homeAddress)
        homeAddress = firstWhere(card, "ADR", [](const VCardProperty& p) { return !has(p, "WORK"); });
    putAddress(homeAddress, {HomeStreet, HomeCity, HomeRegion, HomePostalCode, HomeCountry}, texts);
    putAddress(firstWhere(card, "ADR", [](const VCardProperty& p) { return has(p, "WORK"); }),
               {WorkStreet, WorkCity, WorkRegion, WorkPostalCode, WorkCountry}, texts);

    const QList<const VCardProperty*> emails = card.All("EMAIL");
    texts[Email] = text(emails.value(0));
    texts[SecondEmail] = text(emails.value(1));
    texts[WebAddress] = text(card.First("URL"));
    if (const VCardProperty* org = card.First("ORG"))
        texts[Company] = CleanText(Unescape(SplitUnescaped(org->value, QLatin1Char(';')).first()));
    texts[JobTitle] = text(card.First("TITLE"));

    QStringList notes;
    for (const VCardProperty* note : card.All("NOTE")) {
        const QString kept = CleanText(Unescape(note->value), true);
        if (!kept.isEmpty())
            notes.append(kept);
    }
    texts[Notes] = CleanText(notes.join(QLatin1Char('\n')), true);
    return texts;
}

QString CardName(const VCard& card)
{
    const QString fn = text(card.First("FN"));
    if (!fn.isEmpty())
        return fn;
    return joinNonEmpty(structured(card.First("N"), 5, QStringLiteral(" ")), QStringLiteral(" "));
}
