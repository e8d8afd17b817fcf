// Notes over generated data: a 1 MB note with a format change every 40 characters
// opened into the editor and saved, and a group of 1 000 notes listed with the
// default title of a new one.
#include "platform/RichTextBox.h"
#include "support/TestEnv.h"
#include "tools/NoteStore.h"
#include "tools/frmNote.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

// About 1 MB of RTF: runs of 40 characters, each in another format, 25 runs a paragraph.
QByteArray largeNote()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const QString run = s("Forty characters of a note, then more ab");
    for (int i = 0; cursor.position() < 700000; ++i) {
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
    box.SetTextRTF(largeNote());
    const QString path = env.Root() + s("/large.rtf");
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteNoteFile(path, box.TextRTF()));
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_SaveLargeNote)->Unit(benchmark::kMillisecond);

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
