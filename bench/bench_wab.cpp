// The address-book import over generated cards: a file of 5 000 cards, 20 of them
// with a 1 MB photo, read and listed by the wizard (time, heap in use afterwards and
// the peak of resident memory while it loads); and all 5 000 transferred into a phone
// book of 10 000 contacts with the progress shown.
#include "HeapInUse.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "phonebook/frmWAB.h"
#include "platform/Connection.h"
#include "platform/KnownFolders.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

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

qint64 statusKilobytes(const char* field)
{
    QFile status(s("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

void dropWindows()
{
    for (Form* form : Forms::Loaded()) {
        if (form->objectName() == QLatin1String("frmWAB"))
            delete form;
    }
}

void BM_ReadAndList5000(benchmark::State& state)
{
    Environment environment;
    double heap = 0;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double heapBefore = heapMegabytes();
        QFile clear(s("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly))
            clear.write("5");  // the peak of resident memory starts again from now
        clear.close();
        const qint64 residentBefore = statusKilobytes("VmRSS:");
        state.ResumeTiming();

        frmWAB& wizard = Forms::Get<frmWAB>();
        benchmark::DoNotOptimize(wizard.ListView1->topLevelItemCount());

        state.PauseTiming();
        state.counters["rows"] = wizard.ListView1->topLevelItemCount();
        heap = heapMegabytes() - heapBefore;
        peak = double(statusKilobytes("VmHWM:") - residentBefore) / 1024;
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
    Connection& phones = DataEnvironment1().Connection2;
    OpenIfClosed(phones);
    phones.BeginTrans();
    for (int i = 0; i < 10000; ++i)
        phones.Execute(s("INSERT INTO tbl_Phones (Groupe_Name, Second_Name, First_Name, Home_Mobile) "
                         "VALUES ('General', ?, ?, ?)"),
                       {s("Surname %1").arg(i), s("Name %1").arg(i), s("+7 900 %1").arg(i)});
    phones.CommitTrans();
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
        phones.Execute(s("DELETE FROM tbl_Phones WHERE ID > 10000"));
        recordset.Resync();
        state.ResumeTiming();
    }
    dropWindows();
}
BENCHMARK(BM_Transfer5000Into10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
