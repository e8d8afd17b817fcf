// The address-book import over generated cards: a file of 5 000 cards, 20 of them
// with a 1 MB photo, read and listed by the wizard (time, heap in use afterwards and
// the peak of resident memory while it loads); all 5 000 transferred into a phone
// book of 10 000 contacts with the progress shown, on its own and through the
// wizard over the shown phone book (with the number of times its grid changed);
// and files chosen in the wizard: 740 000 small cards just under the size limit,
// 32 000 cards with LF, CR LF and CR line ends, hostile shapes (5 000 000
// categories on one card, 1 000 000 cards without end, 1 000 000 nested cards)
// each beside ordinary cards of the same size, and the limit filled with the
// smallest cards there are.
#include "HeapInUse.h"
#include "PeakResident.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/SourceText.h"
#include "phonebook/ContactGridModel.h"
#include "phonebook/frmPhones.h"
#include "phonebook/frmWAB.h"
#include "platform/Connection.h"
#include "platform/FileDialog.h"
#include "platform/KnownFolders.h"
#include "support/Require.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

constexpr int Cards = 5000;

QByteArray photo(QRandomGenerator& random)
{
    QByteArray jpeg(1 << 20, Qt::Uninitialized);
    for (char& c : jpeg)
        c = char(random.generate());
    const QByteArray base64 = jpeg.toBase64();
    QByteArray folded = "PHOTO;ENCODING=b;TYPE=JPEG:";
    for (qsizetype i = 0; i < base64.size(); i += 74)
        folded += base64.mid(i, 74) + "\r\n ";
    folded.chop(1);
    return folded;
}

QByteArray addressBook()
{
    QRandomGenerator random(42);
    QByteArray file;
    for (int i = 0; i < Cards; ++i) {
        const QByteArray n = QByteArray::number(i);
        file += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Фамилия" + n + ";Имя" + n + ";Отчество;;\r\nFN:Имя" + n
              + " Фамилия" + n + "\r\nTEL;TYPE=CELL:+7 900 " + n + "\r\nTEL;TYPE=HOME:+7 495 " + n
              + "\r\nTEL;TYPE=WORK,VOICE:+7 812 " + n + "\r\nEMAIL;TYPE=INTERNET:user" + n
              + "@example.org\r\nADR;TYPE=HOME:;;ул. Садовая\\, " + n + ";Москва;;101000;Россия\r\nORG:Компания "
              + n + ";Отдел\r\nTITLE:Инженер\r\nNOTE:Заметка\\nвторая строка\r\nUID:" + n + "\r\n";
        if (i % (Cards / 20) == 0)
            file += photo(random);
        file += "END:VCARD\r\n";
    }
    return file;
}

struct Environment {
    Environment()
    {
        env.PrepareUser();
        WriteFile(AddressBook::DefaultSource() + s("/exported.vcf"), addressBook());
    }
    TestEnv env;
};

void dropWindows()
{
    for (Form* form : Forms::Loaded()) {
        if (form->objectName() == QLatin1String("frmWAB"))
            delete form;
    }
}

// The phone book's 10 000 contacts, the ones a transfer adds taken out again.
void fillPhoneBook()
{
    Connection& phones = DataEnvironment1().Connection2;
    OpenIfClosed(phones);
    Require(phones.BeginTrans());
    for (int i = 0; i < 10000; ++i)
        Require(phones.Execute(s("INSERT INTO tbl_Phones (Groupe_Name, Second_Name, First_Name, Home_Mobile, Personal_Date) "
                                 "VALUES ('General', ?, ?, ?, ?)"),
                               {s("Surname %1").arg(i), s("Name %1").arg(i), s("+7 900 %1").arg(i),
                                QDate(1950, 1, 1).addDays(i).toString(Qt::ISODate)}));
    Require(phones.CommitTrans());
}

void dropTransferred()
{
    Require(DataEnvironment1().Connection2.Execute(s("DELETE FROM tbl_Phones WHERE ID > 10000")));
    Require(DataEnvironment1().rstbl_Phones.Resync());
}

// Counts the paints of a widget.
struct PaintCount : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void BM_ReadAndList5000(benchmark::State& state)
{
    Environment environment;
    double heap = 0;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double heapBefore = heapMegabytes();
        const qint64 residentBefore = RestartPeak();
        state.ResumeTiming();

        frmWAB& wizard = Forms::Get<frmWAB>();
        benchmark::DoNotOptimize(wizard.ListModel->rowCount());

        state.PauseTiming();
        state.counters["rows"] = wizard.ListModel->rowCount();
        heap = heapMegabytes() - heapBefore;
        peak = PeakRiseMegabytes(residentBefore);
        dropWindows();
        state.ResumeTiming();
    }
    state.counters["heap_MB"] = heap;
    state.counters["peak_resident_MB"] = peak;
}
BENCHMARK(BM_ReadAndList5000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Transfer5000Into10000(benchmark::State& state)
{
    Environment environment;
    fillPhoneBook();
    Recordset& recordset = DataEnvironment1().rstbl_Phones;
    OpenIfClosed(recordset);
    QComboBox groups;
    FillGroupCombo(&groups);

    frmWAB& wizard = Forms::Get<frmWAB>();
    wizard.show();
    wizard.cmdNext->click();
    wizard.cmdSelectAll->click();
    for (auto _ : state) {
        wizard.cmdTransfer_Click();
        state.PauseTiming();
        state.counters["rows"] = recordset.RecordCount();
        dropTransferred();
        state.ResumeTiming();
    }
    dropWindows();
}
BENCHMARK(BM_Transfer5000Into10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// As the user imports: the phone book of 10 000 contacts shown and sorted by
// birthday, the wizard opened modal over it, every card selected and Transfer
// pressed; the time of the transfer, the phone-book grid's resets and insertions
// during it, and the paints of the progress label.
void BM_TransferThroughTheWindow5000(benchmark::State& state)
{
    Environment environment;
    fillPhoneBook();
    frmPhones& phones = Forms::Get<frmPhones>();
    phones.ShowModeless();
    phones.DataGrid1_HeadClick(7);
    QCoreApplication::processEvents();
    int gridUpdates = 0;
    QObject::connect(phones.GridModel, &QAbstractItemModel::modelReset, [&] { ++gridUpdates; });
    QObject::connect(phones.GridModel, &QAbstractItemModel::rowsInserted, [&] { ++gridUpdates; });
    for (auto _ : state) {
        double seconds = 0;
        int updates = 0;
        int paints = 0;
        int rows = 0;
        QTimer::singleShot(0, [&] {
            frmWAB& wizard = Forms::Get<frmWAB>();
            wizard.cmdNext->click();
            wizard.cmdSelectAll->click();
            QCoreApplication::processEvents();
            PaintCount progress;
            wizard.lblProgress->installEventFilter(&progress);
            gridUpdates = 0;
            QElapsedTimer timer;
            timer.start();
            wizard.cmdTransfer->click();
            seconds = timer.nsecsElapsed() / 1e9;
            updates = gridUpdates;
            paints = progress.paints;
            rows = phones.GridModel->rowCount();
            wizard.lblProgress->removeEventFilter(&progress);
            wizard.cmdExit->click();
        });
        Forms::Get<frmWAB>().ShowModal(&phones);
        if (updates != 1)
            state.SkipWithError("the phone-book grid changed more than once in a transfer");
        state.SetIterationTime(seconds);
        state.counters["grid_updates"] = updates;
        state.counters["progress_paints"] = paints;
        state.counters["grid_rows"] = rows;
        dropTransferred();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Forms::Unload(&phones, UnloadMode::ControlMenu);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(BM_TransferThroughTheWindow5000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// A file chosen on the wizard's introduction page: read and listed once (time, the
// rise of resident memory and the process's peak, and their ratio to the file).
void chooseFile(benchmark::State& state, const QByteArray& generated)
{
    TestEnv env;
    env.PrepareUser();
    const QString path = env.Root() + s("/chosen.vcf");
    const double fileMegabytes = double(generated.size()) / (1 << 20);
    WriteFile(path, generated);
    state.counters["file_MB"] = fileMegabytes;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        frmWAB& wizard = Forms::Get<frmWAB>();
        FileDialog::PushResult(path);
        const qint64 residentBefore = RestartPeak();
        state.ResumeTiming();

        wizard.cmdFile->click();

        state.PauseTiming();
        state.counters["rows"] = wizard.ListModel->rowCount();
        state.counters["groups"] = wizard.tvFolders->topLevelItemCount() > 0
                                       ? wizard.tvFolders->topLevelItem(0)->childCount()
                                       : 0;
        peak = PeakRiseMegabytes(residentBefore);
        state.counters["peak_total_resident_MB"] = double(StatusKilobytes("VmHWM:")) / 1024;
        dropWindows();
        state.ResumeTiming();
    }
    state.counters["peak_resident_MB"] = peak;
    state.counters["peak_per_file_MB"] = peak / fileMegabytes;
}

QByteArray smallCard(int i, const char* eol = "\r\n")
{
    const QByteArray n = QByteArray::number(i);
    return "BEGIN:VCARD" + QByteArray(eol) + "VERSION:3.0" + eol + "N:Surname" + n + ";Name;;;" + eol
         + "TEL;TYPE=CELL:+7 900" + n + eol + "END:VCARD" + eol;
}

// Ordinary small cards up to the size given.
QByteArray ordinaryCards(qsizetype size)
{
    QByteArray file;
    file.reserve(size + 100);
    for (int i = 0; file.size() < size; ++i)
        file += smallCard(i);
    return file;
}

// 740 000 small cards in one file just under the size limit.
void BM_ChooseFile740k(benchmark::State& state)
{
    QByteArray file;
    for (int i = 0; i < 740000; ++i)
        file += smallCard(i);
    chooseFile(state, file);
}
BENCHMARK(BM_ChooseFile740k)->Unit(benchmark::kMillisecond)->Iterations(1);

// 32 000 cards with each kind of line end (old Mac exports end lines in CR alone).
void BM_LineEnds32000(benchmark::State& state, const char* eol)
{
    QByteArray file;
    for (int i = 0; i < 32000; ++i)
        file += smallCard(i, eol);
    chooseFile(state, file);
}
BENCHMARK_CAPTURE(BM_LineEnds32000, LF, "\n")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_LineEnds32000, CRLF, "\r\n")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_LineEnds32000, CR, "\r")->Unit(benchmark::kMillisecond)->Iterations(1);

// Hostile shapes under the file limit, each beside ordinary cards of the same size.
QByteArray categoriesOnOneCard(int count)
{
    QByteArray file = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Many\r\nCATEGORIES:";
    for (int i = 0; i < count; ++i)
        file += 'c' + QByteArray::number(i) + ',';
    return file + "\r\nEND:VCARD\r\n";
}

QByteArray unclosedCards(int count)
{
    QByteArray file;
    for (int i = 0; i < count; ++i)
        file += "BEGIN:VCARD\r\nFN:Name " + QByteArray::number(i) + "\r\n";
    return file;
}

QByteArray nestedCards(int count)
{
    QByteArray file = unclosedCards(count);
    for (int i = 0; i < count; ++i)
        file += "END:VCARD\r\n";
    return file;
}

// The densest ordinary file: cards of a name alone.
QByteArray tinyCards(qsizetype size)
{
    QByteArray file;
    file.reserve(size + 100);
    for (int i = 0; file.size() < size; ++i)
        file += "BEGIN:VCARD\r\nFN:" + QByteArray::number(i) + "\r\nEND:VCARD\r\n";
    return file;
}

void BM_Hostile(benchmark::State& state, QByteArray (*shape)(int), int count)
{
    chooseFile(state, shape(count));
}
void BM_OrdinaryAsLarge(benchmark::State& state, QByteArray (*shape)(int), int count)
{
    chooseFile(state, ordinaryCards(shape(count).size()));
}
BENCHMARK_CAPTURE(BM_Hostile, categories_5M, categoriesOnOneCard, 5000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_OrdinaryAsLarge, categories_5M, categoriesOnOneCard, 5000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_Hostile, unclosed_1M, unclosedCards, 1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_OrdinaryAsLarge, unclosed_1M, unclosedCards, 1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Hostile, nested_1M, nestedCards, 1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_OrdinaryAsLarge, nested_1M, nestedCards, 1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TinyCards64MB(benchmark::State& state) { chooseFile(state, tinyCards(AddressBook::MaxFileSize - 100)); }
BENCHMARK(BM_TinyCards64MB)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
