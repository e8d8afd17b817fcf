// Randomized input for the vCard reader, from a fixed seed: exporters' files cut,
// flipped and stuffed with the characters the syntax turns on, random bytes, and
// hostile shapes (a 10 MB line or head, 100 000 nested cards, CR line ends, cards
// beyond the limits). Every case ends within a generous bound, far below what work
// growing faster than the input would take, and nothing crashes.

#include "vcard_fixtures.h"

#include "platform/VCardMapping.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr qint64 HangBoundMs = 20000;

// Reads every card of a file and does with it all an address book does; whole is
// false when a card was cut or passed over for the reader's limits.
int readAll(const QByteArray& file, bool* whole = nullptr)
{
    VCardText::FileForm form;
    const QByteArray text = VCardText::Normalized(file, &form);
    bool read = true;
    const QList<VCard> cards = ReadCards(text, "windows-1251", &read);
    for (const VCard& card : cards) {
        MapCard(card);
        CardName(card);
        bool cut = false;
        CardCategories(card, &cut);
        read = read && !cut;
        CardUid(card);
        if (IsGroupCard(card)) {
            CardMembers(card);
            VCardText::InForm(RenamedCard(text, card, QStringLiteral("Новое имя, 2")), form);
        }
    }
    if (whole)
        *whole = read;
    return int(cards.size());
}

QByteArray repeated(const QByteArray& piece, int count)
{
    QByteArray out;
    out.reserve(piece.size() * count);
    for (int i = 0; i < count; ++i)
        out += piece;
    return out;
}

TEST(VCardFuzz, MutatedFilesNeverBreakTheReader)
{
    std::mt19937 random(20261210);
    const QByteArray fixtures[] = {Fixtures::Phone21(3000), Fixtures::Desktop21(true), Fixtures::Desktop21(false),
                                   Fixtures::Utf16Export(),  Fixtures::Apple30(),       Fixtures::Modern40()};
    const QByteArray inserts[] = {"=", "\\", "\"", "\r\nBEGIN:VCARD\r\n", "\r\nEND:VCARD\r\n", QByteArray(1, '\0'),
                                  "\r\nAGENT:\r\n", ";", ":", "\r\n ", "=\r\n", ",", "\xD0", "\xFF\xFE"};
    auto at = [&](qsizetype size) { return size > 0 ? qsizetype(random() % size) : 0; };
    for (int round = 0; round < 20000; ++round) {
        QByteArray file = fixtures[random() % std::size(fixtures)];
        for (int mutations = 1 + int(random() % 8); mutations > 0; --mutations) {
            switch (random() % 4) {
            case 0:
                file.truncate(at(file.size() + 1));
                break;
            case 1:
                file.remove(at(file.size()), qsizetype(random() % 64));
                break;
            case 2:
                if (!file.isEmpty())
                    file[at(file.size())] ^= char(1 << (random() % 8));
                break;
            default:
                file.insert(at(file.size() + 1), inserts[random() % std::size(inserts)]);
            }
        }
        readAll(file);
    }
    for (int round = 0; round < 300; ++round) {
        QByteArray noise(4096, Qt::Uninitialized);
        for (char& c : noise)
            c = char(random());
        readAll(round % 2 ? "BEGIN:VCARD\r\n" + noise : noise);
    }
}

TEST(VCardFuzz, HostileShapesEndSoon)
{
    const QByteArray begin = "BEGIN:VCARD\r\n";
    const QByteArray end = "END:VCARD\r\n";
    const QByteArray tenMegabytes(10 << 20, 'x');
    QByteArray categories = "CATEGORIES:";
    for (int i = 0; i <= MaxCardCategories; ++i)
        categories += 'c' + QByteArray::number(i) + ',';
    const struct {
        const char* what;
        QByteArray file;
        int cards;
        bool whole;
    } cases[] = {
        {"10 MB line", begin + "NOTE:" + tenMegabytes + "\r\n" + end, 1, true},
        {"10 MB passed-over line", begin + "PHOTO:" + tenMegabytes + "\r\nFN:A\r\n" + end, 1, true},
        {"10 MB of soft breaks", begin + "NOTE;QUOTED-PRINTABLE:" + repeated("=\r\n", 3 << 20) + end, 1, true},
        {"10 MB of folds", begin + "FN:a" + repeated("\r\n b", 3 << 20) + "\r\n" + end, 1, true},
        {"10 MB head", begin + "X" + repeated(";TYPE=\"a", 1 << 20) + ":v\r\n" + end, 1, true},
        {"10 MB folded head", begin + "X" + repeated("\r\n ;TYPE=\"a", 1 << 20) + ":v\r\n" + end, 1, true},
        {"10 MB of escapes", begin + "N:" + repeated("\\;\\,\\", 2 << 20) + "\r\n" + end, 1, true},
        {"100 000 cards with CR line ends", repeated("BEGIN:VCARD\rFN:x\rEND:VCARD\r", 100000), 100000, true},
        {"nested cards", repeated(begin, 100000) + repeated(end, 100000), MaxNesting, false},
        {"nested agents", begin + repeated("AGENT:\r\n" + begin, 100000) + repeated(end, 100001), 1, true},
        {"cards without end", repeated(begin + "FN:x\r\n", 100000), 0, false},
        {"too many properties", begin + repeated("TEL:1\r\n", MaxCardProperties + 1) + end, 1, false},
        {"too many categories", begin + categories + "\r\n" + end, 1, false},
    };
    for (const auto& c : cases) {
        QElapsedTimer timer;
        timer.start();
        bool whole = true;
        EXPECT_EQ(readAll(c.file, &whole), c.cards) << c.what;
        EXPECT_EQ(whole, c.whole) << c.what;
        EXPECT_LT(timer.elapsed(), HangBoundMs) << c.what;
    }
}

}  // namespace
