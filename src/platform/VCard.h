#pragma once

#include "VCardText.h"

#include <QList>

#include <functional>

// One property of a card, decoded; its escapes are still in (structured values are
// split at the unescaped separators first).
struct VCardProperty {
    QByteArray name;
    QByteArrayList types;
    int pref = VCardText::NotPreferred;
    QString value;
};

// Where a logical line stands in the file's text, for a rewrite of that line.
struct VCardLine {
    qsizetype begin = -1;  // -1: the card has no such line
    qsizetype end = -1;
    QByteArray head;
    QByteArray eol;
    QString value;
};

// A card of a vCard file: the properties an address book reads, in file order.
struct VCard {
    QByteArray version;
    QList<VCardProperty> properties;
    VCardLine fn;  // the first FN line
    VCardLine n;   // the first N line
    qsizetype endLine = 0;  // where its END:VCARD line begins
    QByteArray endEol;
    int order = 0;     // its place among the cards of the text, by where it begins
    bool cut = false;  // it had more than MaxCardProperties properties

    // The properties of a name, the preferred first (lowest rank), else in file order.
    QList<const VCardProperty*> All(QByteArrayView name) const;
    // The first of All(name) that passes test, without making the list.
    template <class Test>
    const VCardProperty* First(QByteArrayView name, Test test) const
    {
        const VCardProperty* first = nullptr;
        for (const VCardProperty& property : properties) {
            if (VCardText::Same(property.name, name) && (!first || property.pref < first->pref) && test(property))
                first = &property;
        }
        return first;
    }
    const VCardProperty* First(QByteArrayView name) const
    {
        return First(name, [](const VCardProperty&) { return true; });
    }
};

// What a card may hold, so that what it costs stays in proportion to its text: a
// card keeps its first MaxCardProperties properties (of those read) and gives its
// first MaxCardCategories categories; of cards begun one inside another, those
// beyond the first MaxNesting are passed over with the cards inside them.
constexpr int MaxCardProperties = 10000;
constexpr int MaxCardCategories = 1000;
constexpr int MaxNesting = 16;

// The cards of a text (VCardText::Normalized), in the order they begin. A card
// that begins inside another is a card of its own, and the one around it goes on
// after its end; a card nested in an AGENT property is passed over (the card that
// holds it is read), so is a card without its END:VCARD. A damaged text never
// stops the reading. whole is false when a card was cut or passed over for the
// limits above.
QList<VCard> ReadCards(const QByteArray& text, const QByteArray& fallbackCharset, bool* whole = nullptr);
// The same, each card handed to take as soon as it ends (a card around another
// after it: its order tells its place); false when a card was cut or passed over.
bool ReadCards(const QByteArray& text, const QByteArray& fallbackCharset, const std::function<void(VCard&)>& take);

// The text with the card's FN line, and the first part of its N line, holding name:
// escaped, encoded and folded for the card's version, in the line ends of the file;
// every other byte stays as it is. A card without FN gets one before its END:VCARD.
QByteArray RenamedCard(const QByteArray& text, const VCard& card, const QString& name);

// A value as the address book gives it: line breaks made ", " (or kept as "\n"),
// other control characters dropped, each line trimmed, cut at MaxTextLength.
constexpr qsizetype MaxTextLength = 32768;
QString CleanText(const QString& text, bool keepLineBreaks = false);

// A card that stands for a group (KIND:group, X-ADDRESSBOOKSERVER-KIND:group).
bool IsGroupCard(const VCard& card);
// Identifiers without "urn:uuid:", in lower case, so that members match UIDs.
QString CardUid(const VCard& card);
QStringList CardMembers(const VCard& card);
// The first MaxCardCategories; cut is set when there were more.
QStringList CardCategories(const VCard& card, bool* cut = nullptr);
