#include "RegData.h"

#include "DataEnvironment.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/RegistryStore.h"
#include "platform/Shell.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSet>

#include <cstdio>

namespace {

const QString PdfKey = QStringLiteral("HKEY_CLASSES_ROOT\\.pdf\\");
// The row of db_meta that tells the earlier registry file has been taken in.
const QString ImportedMark = QStringLiteral("registry.reg imported");

RegistryStore store() { return DataEnvironment1().Registry(); }

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// An event's entry (Special\<id>\..., InAdvance\<id>) whose row is gone.
bool entryOfMissingRow(const QString& path, const QSet<qint64>& ids)
{
    for (const char* kind : {"Special\\", "InAdvance\\"}) {
        const QString key = ProgramKey() + QLatin1String(kind);
        if (!path.startsWith(key, Qt::CaseInsensitive))
            continue;
        bool number = false;
        const qint64 id = path.mid(key.size()).section(QLatin1Char('\\'), 0, 0).toLongLong(&number);
        return !number || !ids.contains(id);
    }
    return false;
}

ReadResult alreadyImported(Connection& db)
{
    QList<QVariantList> rows;
    if (!db.Query(QStringLiteral("SELECT 1 FROM db_meta WHERE name = ?"), {ImportedMark}, &rows).Ok())
        return ReadResult::Failed;
    return rows.isEmpty() ? ReadResult::Missing : ReadResult::Found;
}

// The earlier file's values in one transaction, with the mark that they are in.
bool importFile(Connection& db, const QString& file)
{
    // A file that cannot be read now is not marked as taken in.
    QList<std::pair<QString, QString>> values;
    if (!ReadRegistryFile(file, &values))
        return false;
    QSet<qint64> ids;
    DbResult result = db.ForEachRow(QStringLiteral("SELECT Step_Numeric FROM lst_Dates"), {},
                                    [&](const RowReader& row) { ids.insert(row.Integer(0)); });
    if (result.Ok())
        result = db.BeginTrans();
    if (!result.Ok())
        return false;
    RegistryStore registry(db);
    // What this version wrote before the import stays.
    bool written = true;
    for (const auto& [path, value] : values) {
        if (written && !entryOfMissingRow(path, ids))
            written = registry.WriteNew(path, value);
    }
    if (written)
        result = db.Execute(QStringLiteral("INSERT INTO db_meta (name, value) VALUES (?, ?)"),
                            {ImportedMark, QStringLiteral("1")});
    if (written && result.Ok())
        return db.CommitTrans().Ok();
    // Nothing of the file is kept: the import is tried again at the next use.
    std::ignore = db.RollbackTrans();
    return false;
}

}  // namespace

bool PrepareRegistry(Connection& events)
{
    // Inside a save's transaction a failure would take the import back after the
    // file was put aside: the import waits for the next use.
    if (!RegistryStore::CreateTable(events).Ok() || events.InTransaction())
        return false;
    const QString file = RegistryFilePath();
    // The earlier version's scratch copy is never taken for the store.
    std::ignore = FileSystem::RemoveFile(file + QStringLiteral(".pending"));
    if (!FileSystem::IsFile(file))
        return true;
    // A mark that cannot be read is no reason to take in the file again: values the
    // user has changed or deleted since would come back.
    const ReadResult imported = alreadyImported(events);
    if (imported == ReadResult::Failed || (imported == ReadResult::Missing && !importFile(events, file)))
        return false;
    // What is put aside holds the user's rules: the user's alone, as the store is.
    std::ignore = FileSystem::SetOwnerOnly(file);
    std::rename(QFile::encodeName(file).constData(), QFile::encodeName(file + QStringLiteral(".imported")).constData());
    return true;
}

QString DesktopExecArgument(const QString& path)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (QChar c : path)
        needsQuotes = needsQuotes || reserved.contains(c);
    QString arg;
    for (QChar c : path) {
        if (needsQuotes && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                            || c == QLatin1Char('\\')))
            arg += QLatin1Char('\\');
        arg += c;
    }
    if (needsQuotes)
        arg = QLatin1Char('"') + arg + QLatin1Char('"');
    // The string-value escape of desktop entries comes on top of the quoting.
    arg.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    arg.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return arg;
}

namespace {

bool writeAutostartEntry()
{
    const QString entry = QStringLiteral(
                              "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Tessaryn\n"
                              "Comment=Calendar, reminders, phone book and notes\n"
                              "Exec=%1\n"
                              "Icon=tessaryn\n"
                              "Terminal=false\n"
                              "X-GNOME-Autostart-enabled=true\n")
                              .arg(DesktopExecArgument(KnownFolders::ExecutablePath()));
    const QString path = AutostartEntryPath();
    // The desktop's folder and entry, with the modes the desktop gives its own.
    return FileSystem::MakeFolder(QFileInfo(path).absolutePath(), FileSystem::FileMode::Ordinary)
           && FileSystem::WriteAtomic(path, entry.toUtf8(), FileSystem::FileMode::Ordinary);
}

// The first word of an Exec line, as DesktopExecArgument wrote it: the string's
// escapes undone, then the quoting.
QString execProgram(const QString& value)
{
    QString exec;
    for (qsizetype i = 0; i < value.size(); ++i) {
        QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            c = value.at(++i);
            c = c == QLatin1Char('s') ? QLatin1Char(' ') : c == QLatin1Char('t') ? QLatin1Char('\t') : c;
        }
        exec += c;
    }
    QString program;
    if (exec.startsWith(QLatin1Char('"'))) {
        for (qsizetype i = 1; i < exec.size() && exec.at(i) != QLatin1Char('"'); ++i) {
            if (exec.at(i) == QLatin1Char('\\') && i + 1 < exec.size())
                ++i;
            program += exec.at(i);
        }
    } else {
        program = exec.section(QLatin1Char(' '), 0, 0);
    }
    program.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return program.isEmpty() || program.startsWith(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
}

// An entry is kept when the user switched it off, or when it starts an installed
// program that is still there (another installation's, or this one with arguments
// of the user's).
bool keepAutostartEntry(const QByteArray& text)
{
    bool inEntry = false;
    QString program;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = line.section(QLatin1Char('='), 1).trimmed();
        if (!inEntry)
            continue;
        if ((key == QLatin1String("Hidden") && value == QLatin1String("true"))
            || (key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false")))
            return true;
        if (key == QLatin1String("Exec") && program.isEmpty())
            program = execProgram(value);
    }
    return FileSystem::IsFile(program) && KnownFolders::IsInstalledProgram(program);
}

}  // namespace

void RegisterForLogin()
{
    const QString program = KnownFolders::ExecutablePath();
    if (!KnownFolders::IsInstalledProgram(program))
        return;
    QByteArray entry;
    if (FileSystem::ReadAll(AutostartEntryPath(), &entry) && keepAutostartEntry(entry))
        return;
    // Nobody asked for this at the moment: the program runs on, and the next start
    // tries again.
    if (!RegWrite(AutostartValuePath(), program))
        std::fprintf(stderr, "Tessaryn: could not register for login in %s\n",
                     QFile::encodeName(AutostartEntryPath()).constData());
}

QString ProgramKey() { return QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Kelmaro Soft\\Tessaryn\\"); }

QString AutostartValuePath()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Tessaryn");
}

QString RegistryFilePath() { return KnownFolders::SharedDataFolder() + QStringLiteral("/registry.reg"); }

QStringList RegSubKeys(const QString& keyPath) { return store().SubKeys(keyPath); }

QString AutostartEntryPath() { return KnownFolders::ConfigHome() + QStringLiteral("/autostart/tessaryn.desktop"); }

bool RegWrite(const QString& path, const QString& value, const QString& /*type*/)
{
    if (!store().Write(path, value))
        return false;
    return !same(path, AutostartValuePath()) || writeAutostartEntry();
}

ReadResult RegRead(const QString& path, QString* value)
{
    if (same(path, PdfKey)) {
        value->clear();
        return Shell::PdfHandlerRegistered() ? ReadResult::Found : ReadResult::Missing;
    }
    return store().Read(path, value);
}

ReadResult RegReadRule(const QString& key, QString* nextType, QString* nextInterval)
{
    QString type;
    QString interval;
    const ReadResult readType = RegRead(key + QStringLiteral("NextType"), &type);
    if (readType == ReadResult::Failed)
        return readType;
    const ReadResult readInterval = RegRead(key + QStringLiteral("NextInterval"), &interval);
    if (readInterval != ReadResult::Found || readType != ReadResult::Found)
        return readInterval == ReadResult::Failed ? readInterval : ReadResult::Missing;
    *nextType = type;
    *nextInterval = interval;
    return ReadResult::Found;
}

bool RegDelete(const QString& path)
{
    // The value and its entry go together: while the entry stays, so does the value.
    if (same(path, AutostartValuePath()) && FileSystem::IsFile(AutostartEntryPath())
        && !FileSystem::RemoveFile(AutostartEntryPath()))
        return false;
    return store().Delete(path);
}

ReadResult RegKeyExists(const QString& path)
{
    QString value;
    const ReadResult read = RegRead(path, &value);
    // The autostart value counts only while its desktop entry is there.
    if (read == ReadResult::Found && same(path, AutostartValuePath()) && !FileSystem::IsFile(AutostartEntryPath()))
        return ReadResult::Missing;
    return read;
}
