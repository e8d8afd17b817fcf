#include "NoteStore.h"

#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString NoteSuffix = QStringLiteral(".rtf");
constexpr int MaxFileNameBytes = 255;

void sortNames(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

bool sameName(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) == 0; }

bool isRefusedTitleCharacter(QChar ch)
{
    static const QString refused = QStringLiteral("\\:?<|/*>'\"");
    return refused.contains(ch) || ch.category() == QChar::Other_Control || ch == QChar::LineSeparator
        || ch == QChar::ParagraphSeparator;
}

}  // namespace

QString NotesFolder() { return KnownFolders::UserDataFolder() + QStringLiteral("/Notes"); }

QString GroupFolder(const QString& group)
{
    return group.isEmpty() ? NotesFolder() : NotesFolder() + QLatin1Char('/') + group;
}

QStringList GroupNames()
{
    QStringList names;
    for (const QString& name : QDir(NotesFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (!name.startsWith(QLatin1Char('.')))
            names.append(name);
    }
    sortNames(names);
    return names;
}

QStringList NoteFileNames(const QString& folder)
{
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (name.size() > NoteSuffix.size() && !name.startsWith(QLatin1Char('.'))
            && name.endsWith(NoteSuffix, Qt::CaseInsensitive))
            names.append(name);
    }
    sortNames(names);
    return names;
}

QString TitleOf(const QString& fileName) { return fileName.left(fileName.size() - NoteSuffix.size()); }

qsizetype FindNote(const QStringList& fileNames, const QString& title)
{
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        if (sameName(TitleOf(fileNames.at(i)), title))
            return i;
    }
    return -1;
}

QString NextNoteName(const QString& word, int nodeCount, const QStringList& fileNames)
{
    if (fileNames.isEmpty())
        return word + QStringLiteral(" 1");
    for (qint64 number = nodeCount;; ++number) {
        const QString candidate = word + QLatin1Char(' ') + QString::number(number);
        if (FindNote(fileNames, candidate) < 0)
            return candidate;
    }
}

QString WithoutRefusedCharacters(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar ch : text) {
        if (!isRefusedTitleCharacter(ch))
            kept.append(ch);
    }
    return kept;
}

TitleEdit FilterTitleEdit(const QString& before, const QString& after, int limit)
{
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix
           && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    QString kept = WithoutRefusedCharacters(inserted);
    const qsizetype room = std::max<qsizetype>(0, limit - prefix - suffix);
    if (kept.size() > room) {
        kept.truncate(room);
        if (!kept.isEmpty() && kept.back().isHighSurrogate())
            kept.chop(1);
    }
    return {after.left(prefix) + kept + after.right(suffix), static_cast<int>(prefix + kept.size()),
            kept != inserted};
}

bool IsStorableName(const QString& name, const QString& suffix)
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('/'))
        && !name.contains(QChar(0)) && (name + suffix).toUtf8().size() <= MaxFileNameBytes;
}

// Only a regular file is opened: a FIFO would block the reading. One byte more than
// the size is asked for, so that a file that changes while it is read is told.
NoteRead ReadNoteFile(const QString& path, QByteArray* data)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return NoteRead::Failed;
    const qint64 size = file.size();
    if (size > MaxNoteFileSize)
        return NoteRead::TooLarge;
    QByteArray read(size + 1, Qt::Uninitialized);
    if (file.read(read.data(), size + 1) != size)
        return NoteRead::Failed;
    read.truncate(size);
    *data = std::move(read);
    return NoteRead::Read;
}

bool WriteNoteFile(const QString& path, const QByteArray& data, FileSystem::FileMode mode)
{
    if (FileSystem::Exists(path) && !FileSystem::ModeAllowsWriting(path))
        return false;
    return FileSystem::WriteAtomic(path, data, mode);
}

GroupChange CreateGroup(const QString& name)
{
    if (!IsStorableName(name))
        return GroupChange::Refused;
    const QDir notes(NotesFolder());
    const QStringList taken = notes.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    if (std::any_of(taken.begin(), taken.end(), [&name](const QString& entry) { return sameName(entry, name); }))
        return GroupChange::Exists;
    return FileSystem::MakeFolder(GroupFolder(name)) ? GroupChange::Done : GroupChange::Failed;
}

GroupChange DeleteGroup(const QString& name)
{
    if (!IsStorableName(name))
        return GroupChange::Refused;
    const QString folder = GroupFolder(name);
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink())
        return GroupChange::Done;
    return FileSystem::RemoveTree(folder) ? GroupChange::Done : GroupChange::Failed;
}
