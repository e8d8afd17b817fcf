// Notes over generated data: notes of 1 MB and 10 MB with a format change every 40
// characters opened into the editor and saved, a note opened from the notes window's
// tree as the user meets it, and a group of 1 000 notes listed with the default title
// of a new one.
#include "ViewTiming.h"
#include "platform/RichTextBox.h"
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

QString s(const char* text) { return QString::fromUtf8(text); }

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

}  // namespace
