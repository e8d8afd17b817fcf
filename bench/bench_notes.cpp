// Notes over generated data: notes of 1 MB and 10 MB with a format change every 40
// characters opened into the editor and saved, a note opened from the notes window's
// tree as the user meets it, a group of 1 000 notes listed with the default title of
// a new one, and the RTF reader over files that once made it slow or large (40 000
// fonts, colours or formats in 1 MB, 50 MB of empty paragraphs or lines), each beside
// an ordinary note of the same size, with the rise of resident memory while it reads;
// and a note file over the size limit refused beside one at the limit read whole.
#include "PeakResident.h"
#include "ViewTiming.h"
#include "core/SourceText.h"
#include "platform/RichTextBox.h"
#include "platform/RtfReader.h"
#include "support/Require.h"
#include "support/TestEnv.h"
#include "tools/NoteStore.h"
#include "tools/frmNote.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextCursor>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// About 1 MB of RTF per 700 000 characters: runs of 40 characters, each in another
// format, 25 runs a paragraph.
QByteArray largeNote(int characters = 700000)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const QString run = s("Forty characters of a note, then more ab");
    for (int i = 0; cursor.position() < characters; ++i) {
        QTextCharFormat format;
        format.setFontFamilies({i % 3 ? s("Liberation Sans") : s("Liberation Serif")});
        format.setFontPointSize(10 + i % 4);
        format.setFontWeight(i % 2 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(i % 5 == 0);
        if (i % 7 == 0)
            format.setForeground(QColor::fromRgb(0x800000 + i % 64));
        cursor.insertText(run, format);
        if (i % 25 == 24)
            cursor.insertBlock();
    }
    return WriteRtf(document);
}

double peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_OpenLargeNote(benchmark::State& state)
{
    const QByteArray note = largeNote();
    RichTextBox box;
    box.resize(540, 270);
    box.show();
    for (auto _ : state) {
        box.SetTextRTF(note);
        // Opened means laid out to its end, as scrolling to it needs.
        benchmark::DoNotOptimize(box.document()->documentLayout()->documentSize());
    }
    state.counters["note_bytes"] = static_cast<double>(note.size());
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_OpenLargeNote)->Unit(benchmark::kMillisecond);

void BM_SaveLargeNote(benchmark::State& state)
{
    TestEnv env;
    RichTextBox box;
    box.SetTextRTF(largeNote(int(state.range(0))));
    const QString path = env.Root() + s("/large.rtf");
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteNoteFile(path, box.TextRTF()));
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_SaveLargeNote)->Arg(700000)->Arg(7000000)->Unit(benchmark::kMillisecond);

// A click on a note in the notes window's tree: the time to the first paint that
// shows its text, the longest the interface waited meanwhile and until Qt has laid
// the whole note out (its size unchanged for 2 s), and that time.
void BM_OpenNoteFromTree(benchmark::State& state)
{
    TestEnv env;
    env.PrepareUser();
    WriteFile(NotesFolder() + s("/Large.rtf"), largeNote(int(state.range(0))));
    WriteFile(NotesFolder() + s("/Small.rtf"), "{\\rtf1 x}");
    frmNote& note = Forms::Get<frmNote>();
    note.ShowModeless();
    QCoreApplication::processEvents();
    QTreeWidgetItem* top = note.Tree1->topLevelItem(0);
    QTreeWidgetItem* large = top->child(0)->text(0) == s("Large") ? top->child(0) : top->child(1);
    QTreeWidgetItem* small = large == top->child(0) ? top->child(1) : top->child(0);
    double firstScreen = 0, longest = 0, laidOut = 0;
    for (auto _ : state) {
        // Each opening starts from the small note, as a user moving between notes.
        note.Tree1_NodeClick(small);
        Require(PumpUntil([&] { return !note.RTB1->Loading(); }));
        QElapsedTimer clock;
        bool shown = false;
        qint64 lastSize = 0;
        PaintWatch watch([&] {
            if (!shown && !note.RTB1->Loading() && !note.RTB1->document()->isEmpty()) {
                shown = true;
                firstScreen += clock.nsecsElapsed() / 1e6;
            }
        });
        note.RTB1->viewport()->installEventFilter(&watch);
        QObject::connect(note.RTB1, &RichTextBox::Loaded, &watch, [&] {
            QObject::connect(note.RTB1->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
                             &watch, [&] { lastSize = clock.nsecsElapsed(); });
        });
        clock.start();
        const LoopGaps::Result gaps = LoopGaps::Run([&] { note.Tree1_NodeClick(large); }, [&] {
            return shown && clock.nsecsElapsed() - lastSize > 2000'000'000;
        });
        note.RTB1->viewport()->removeEventFilter(&watch);
        longest = std::max(longest, gaps.longest);
        laidOut += lastSize / 1e6;
    }
    state.counters["first_screen_ms"] = firstScreen / double(state.iterations());
    state.counters["longest_block_ms"] = longest;
    state.counters["laid_out_ms"] = laidOut / double(state.iterations());
    delete &note;
}
BENCHMARK(BM_OpenNoteFromTree)->Arg(700000)->Arg(7000000)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ListGroupOf1000(benchmark::State& state)
{
    TestEnv env;
    env.PrepareUser();
    for (int i = 1; i <= 1000; ++i)
        WriteFile(NotesFolder() + s("/Note %1.rtf").arg(i), "{\\rtf1 x}");
    frmNote& note = Forms::Get<frmNote>();
    for (auto _ : state) {
        note.LoadNoteTree();
        benchmark::DoNotOptimize(note.MakeNewNoteName());
    }
    delete &note;
}
BENCHMARK(BM_ListGroupOf1000)->Unit(benchmark::kMillisecond);

// Text runs of 40 characters in one font, a paragraph of 25 runs: an ordinary
// note of about the size given.
QByteArray ordinaryRtf(qsizetype size)
{
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Sans;}}\\f0\\fs22 ";
    rtf.reserve(size + 100);
    for (int i = 0; rtf.size() < size; ++i)
        rtf += i % 25 == 24 ? "Forty characters of a note, then more ab\\par\r\n"
                            : "Forty characters of a note, then more ab";
    return rtf + '}';
}

// count fonts, each used by one word.
QByteArray manyFonts(int count)
{
    QByteArray table = "{\\rtf1\\ansi{\\fonttbl";
    QByteArray body;
    for (int i = 0; i < count; ++i) {
        const QByteArray n = QByteArray::number(i);
        table += "{\\f" + n + " F" + n + ";}";
        body += "\\f" + n + " w ";
    }
    return table + "}" + body + "}";
}

QByteArray manyColours(int count)
{
    QByteArray table = "{\\rtf1\\ansi{\\colortbl;";
    QByteArray body;
    for (int i = 0; i < count; ++i) {
        table += "\\red" + QByteArray::number(i % 256) + "\\green" + QByteArray::number(i / 256 % 256) + "\\blue"
               + QByteArray::number(i / 65536) + ';';
        body += "\\cf" + QByteArray::number(i + 1) + " w ";
    }
    return table + "}" + body + "}";
}

// Sizes and the four switches: count formats that differ in more than the font.
QByteArray manyFormats(int count)
{
    QByteArray body = "{\\rtf1\\ansi ";
    for (int i = 0; i < count; ++i) {
        body += "\\plain\\fs" + QByteArray::number(2 + i % 3000) + (i / 3000 % 2 ? "\\b" : "")
              + (i / 6000 % 2 ? "\\i" : "") + (i / 12000 % 2 ? "\\ul" : "") + (i / 24000 % 2 ? "\\strike" : "")
              + " w ";
    }
    return body + "}";
}

QByteArray emptyParagraphs(int megabytes)
{
    QByteArray rtf = "{\\rtf1 ";
    const qsizetype size = qsizetype(megabytes) << 20;
    rtf.reserve(size + 8);
    while (rtf.size() < size)
        rtf += "\\par";
    return rtf + '}';
}

// A file that is not RTF is read as plain text.
QByteArray emptyLines(int megabytes) { return QByteArray(qsizetype(megabytes) << 20, '\n'); }

// Read as the editor reads a note: one edit, no undo kept.
void readNote(benchmark::State& state, const QByteArray& rtf)
{
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            QTextDocument document;
            document.setUndoRedoEnabled(false);
            const qint64 residentBefore = RestartPeak();
            state.ResumeTiming();
            ReadRtf(rtf, &document);
            state.PauseTiming();
            peak = PeakRiseMegabytes(residentBefore);
            state.counters["blocks"] = document.blockCount();
        }
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(rtf.size()) / (1 << 20);
    state.counters["peak_resident_MB"] = peak;
}

void BM_ReadRtf(benchmark::State& state, QByteArray (*shape)(int), int count) { readNote(state, shape(count)); }
void BM_ReadOrdinaryAsLarge(benchmark::State& state, QByteArray (*shape)(int), int count)
{
    readNote(state, ordinaryRtf(shape(count).size()));
}
BENCHMARK_CAPTURE(BM_ReadRtf, fonts_10000, manyFonts, 10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadRtf, fonts_40000, manyFonts, 40000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadOrdinaryAsLarge, fonts_40000, manyFonts, 40000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadRtf, colours_40000, manyColours, 40000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadRtf, formats_40000, manyFormats, 40000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadRtf, empty_paragraphs_50MB, emptyParagraphs, 50)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_ReadOrdinaryAsLarge, empty_paragraphs_50MB, emptyParagraphs, 50)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_ReadRtf, empty_lines_50MB, emptyLines, 50)->Unit(benchmark::kMillisecond)->Iterations(1);

// The note read above saved again.
void BM_WriteRtf(benchmark::State& state, QByteArray (*shape)(int), int count)
{
    QTextDocument document;
    ReadRtf(shape(count), &document);
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteRtf(document));
}
BENCHMARK_CAPTURE(BM_WriteRtf, fonts_40000, manyFonts, 40000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteRtf, colours_40000, manyColours, 40000)->Unit(benchmark::kMillisecond);

// A note file just over the size limit (sparse) is refused without being read,
// beside one at the limit, read whole.
void BM_ReadNoteFile(benchmark::State& state, qint64 size)
{
    TestEnv env;
    const QString path = env.Root() + s("/note.rtf");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
            state.SkipWithError("the note file could not be made");
    }
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QByteArray data;
        const qint64 residentBefore = RestartPeak();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ReadNoteFile(path, &data));
        state.PauseTiming();
        peak = PeakRiseMegabytes(residentBefore);
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(size) / (1 << 20);
    state.counters["peak_resident_MB"] = peak;
}
BENCHMARK_CAPTURE(BM_ReadNoteFile, over_the_limit, MaxNoteFileSize + 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadNoteFile, at_the_limit, MaxNoteFileSize)->Unit(benchmark::kMillisecond);

}  // namespace
