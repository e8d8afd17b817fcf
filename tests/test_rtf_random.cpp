// The RTF reader against damaged input: mutated fixtures and documents and a few
// hostile extremes (deep groups, many fonts, more paragraphs than a note keeps).
// Every read ends quickly, gives no more characters than the input has bytes, and
// gives a document that survives a round trip.

#include "test_rtf_fixtures.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

namespace {

constexpr qint64 ReadLimitMs = 3000;  // a hang, not a speed goal: the reader is linear

void readChecked(const QByteArray& data, const std::string& what)
{
    QTextDocument document;
    QElapsedTimer timer;
    timer.start();
    ReadRtf(data, &document);
    ASSERT_LT(timer.elapsed(), ReadLimitMs) << what;
    ASSERT_LE(document.toPlainText().size(), data.size()) << what;
    QTextDocument again;
    ReadRtf(WriteRtf(document), &again);
    ASSERT_EQ(Look(again), Look(document)) << what;
}

QByteArray mutated(QByteArray data, QRandomGenerator& random)
{
    static const QByteArray pieces[] = {"{", "}", "\\", "\\'", "\\u", "\\uc", "\\bin", "\\*", "\\par", "\\f",
                                        "\\fs", "\\cf", "\\plain", "\\pard", "-", "9", "\\'zz", "\xff", ";"};
    for (int edits = random.bounded(1, 8); edits > 0 && !data.isEmpty(); --edits) {
        const qsizetype at = random.bounded(data.size());
        switch (random.bounded(4)) {
        case 0: data[at] = static_cast<char>(random.bounded(256)); break;
        case 1: data.insert(at, pieces[random.bounded(static_cast<int>(std::size(pieces)))]); break;
        case 2: data.remove(at, random.bounded(1, 16)); break;
        default: data.truncate(at); break;
        }
    }
    return data;
}

TEST(RtfRandom, MutatedFilesReadSafely)
{
    QRandomGenerator random(7031);
    QTextDocument written;
    QTextCursor cursor(&written);
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Liberation Serif")});
    format.setForeground(QColor(Qt::darkGreen));
    format.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Привет, {world}\t😀"), format);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second paragraph"), QTextCharFormat());
    const QByteArray sources[] = {RichEditFixture(), WordProcessorFixture(), WriteRtf(written)};
    for (int round = 0; round < 2000; ++round) {
        const QByteArray data = mutated(sources[round % std::size(sources)], random);
        readChecked(data, "round " + std::to_string(round) + ": " + data.toStdString());
    }
}

TEST(RtfRandom, HostileExtremesReadSafely)
{
    const QByteArray deep = "{\\rtf1" + QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + '}';
    QByteArray fontTable = "{\\rtf1{\\fonttbl";
    QByteArray fontRuns;
    for (int i = 0; i < 20000; ++i) {
        const QByteArray n = QByteArray::number(i);
        fontTable += "{\\f" + n + " F" + n + ";}";
        fontRuns += "\\f" + n + " w ";
    }
    const int beyond = MaxRtfParagraphs + 100;
    QByteArray marks = "{\\rtf1 ";
    for (int i = 0; i < beyond; ++i)
        marks += "\\par ";
    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"100 000 nested braces", deep},
        {"100 000 open braces", "{\\rtf1" + QByteArray(100000, '{') + "x"},
        {"huge binary count", "{\\rtf1 a\\bin2147483647 bcdef}"},
        {"huge fallback count", "{\\rtf1\\uc99999\\u1046 abc{def}ghi}"},
        {"negative unicode", "{\\rtf1 \\u-99999 x}"},
        {"huge size", "{\\rtf1\\fs99999999999 x}"},
        {"bad hex", "{\\rtf1 \\'zz\\'\\'"},
        {"long control word", "{\\rtf1\\" + QByteArray(100000, 'a') + "99999999999999999999 x}"},
        {"only a header", "{\\rtf"},
        {"20 000 fonts", fontTable + "}" + fontRuns + "}"},
        {"paragraphs beyond the limit", marks + "end}"},
    };
    for (const auto& c : cases)
        readChecked(c.data, c.name);
    QTextDocument document;
    ReadRtf(deep, &document);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("deep"));
    for (const QByteArray& lines : {marks + "end}", QByteArray(beyond, '\n') + "end"}) {
        ReadRtf(lines, &document);
        EXPECT_EQ(document.blockCount(), MaxRtfParagraphs);
        EXPECT_EQ(document.toPlainText(), QString(beyond, QLatin1Char('\n')) + QStringLiteral("end"));
    }
}

}  // namespace
