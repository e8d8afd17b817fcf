#include "DatabaseCopy.h"

#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char SqliteHeader[] = "SQLite format 3";  // 16 bytes with its NUL

QByteArray native(const QString& path) { return QFile::encodeName(path); }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failing close is seen.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// A temporary name beside target that no other copy uses at the same time.
QString temporaryBeside(const QString& target)
{
    return target + QStringLiteral(".part%1").arg(::getpid());
}

DbResult failure(const QString& text) { return DbResult::Failure(DbStatus::Error, text); }

DbResult copyPages(sqlite3* source, const QString& temporary)
{
    // SQLite would create the file under the umask; made owner-only here first, the
    // copy is never readable by others while it is written (its journal takes the
    // file's mode).
    ::unlink(native(temporary).constData());
    Descriptor made(::open(native(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (made.get() < 0 || !made.close())
        return failure(QStringLiteral("cannot create %1: %2").arg(temporary, QString::fromLocal8Bit(std::strerror(errno))));
    sqlite3* target = nullptr;
    if (sqlite3_open_v2(native(temporary).constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr)
        != SQLITE_OK) {
        sqlite3_close_v2(target);
        return failure(QStringLiteral("cannot create %1").arg(temporary));
    }
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    int status = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(target);
    if (backup && sqlite3_backup_finish(backup) != SQLITE_OK && status == SQLITE_DONE)
        status = sqlite3_errcode(target);
    const QString message = QString::fromUtf8(sqlite3_errmsg(target));
    const bool closed = sqlite3_close_v2(target) == SQLITE_OK;
    if (status != SQLITE_DONE || !closed)
        return failure(QStringLiteral("cannot write %1: %2").arg(temporary, message));
    return {};
}

}  // namespace

namespace DatabaseCopy {

bool SyncFile(const QString& path)
{
    Descriptor fd(::open(native(path).constData(), O_RDONLY | O_CLOEXEC));
    return fd.get() >= 0 && ::fsync(fd.get()) == 0 && fd.close();
}


void RemoveBackupLeftOvers(const QString& target)
{
    const QFileInfo file(target);
    const QRegularExpression leftOver(QLatin1Char('^') + QRegularExpression::escape(file.fileName())
                                      + QStringLiteral("\\.part\\d+(-journal)?$"));
    const QDir folder = file.absoluteDir();
    for (const QString& name : folder.entryList({file.fileName() + QStringLiteral(".part*")}, QDir::Files | QDir::Hidden)) {
        if (leftOver.match(name).hasMatch())
            ::unlink(native(folder.filePath(name)).constData());
    }
}

QString StagingPath(const QString& live)
{
    static std::atomic<unsigned> attempt{0};
    return live + QStringLiteral(".restore-%1-%2").arg(::getpid()).arg(attempt++);
}

void RemoveStaged(const QString& staged)
{
    for (const char* suffix : {"", "-journal"})
        ::unlink(native(staged + QLatin1String(suffix)).constData());
}

bool IsRestoreLeftOver(const QString& folder, const QString& fileName)
{
    // "tesryn.db.restore" and its journal as older versions named them, or a name of
    // StagingPath with its journal.
    static const QRegularExpression staged(QStringLiteral("^[^.].*\\.restore(-\\d+-\\d+)?(-journal)?$"));
    // SQLite names it after the main file of the connection: "<live>-mj" and nine
    // hexadecimal digits, the seventh a 9.
    static const QRegularExpression superJournal(QStringLiteral("^([^.].*)-mj[0-9A-F]{6}9[0-9A-F]{2}$"));
    if (staged.match(fileName).hasMatch())
        return true;
    const QRegularExpressionMatch super = superJournal.match(fileName);
    return super.hasMatch() && !QFileInfo::exists(folder + QLatin1Char('/') + super.captured(1) + QStringLiteral("-journal"));
}

DbResult BackupTo(Connection& source, const QString& target)
{
    if (!source.Handle())
        return failure(QStringLiteral("the connection is closed"));
    const QString folder = QFileInfo(target).absolutePath();
    if (!FileSystem::ModeAllowsWriting(folder))
        return failure(QStringLiteral("the folder %1 cannot be written").arg(folder));
    RemoveBackupLeftOvers(target);
    const QString temporary = temporaryBeside(target);
    DbResult result = copyPages(source.Handle(), temporary);
    if (result.Ok() && !(FileSystem::SetOwnerOnly(temporary) && SyncFile(temporary)))
        result = failure(QStringLiteral("cannot sync %1").arg(temporary));
    if (result.Ok() && ::rename(native(temporary).constData(), native(target).constData()) != 0)
        result = failure(QStringLiteral("cannot rename %1: %2").arg(temporary, QString::fromLocal8Bit(std::strerror(errno))));
    if (!result.Ok()) {
        ::unlink(native(temporary).constData());
        ::unlink(native(temporary + QStringLiteral("-journal")).constData());
        return result;
    }
    FileSystem::SyncFolder(folder);
    return result;
}

StageResult StageCopy(const QString& source, const QString& target)
{
    // Non-blocking, so that opening a FIFO without a writer returns at once.
    Descriptor in(::open(native(source).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (in.get() < 0 || ::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return StageResult::NotDatabase;
    char header[sizeof SqliteHeader];
    if (::pread(in.get(), header, sizeof header, 0) != static_cast<ssize_t>(sizeof header)
        || std::memcmp(header, SqliteHeader, sizeof header) != 0)
        return StageResult::NotDatabase;

    if (!FileSystem::ModeAllowsWriting(QFileInfo(target).absolutePath()))
        return StageResult::WriteFailed;
    ::unlink(native(target).constData());
    Descriptor out(::open(native(target).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    bool written = out.get() >= 0;
    char buffer[65536];
    while (written) {
        const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::unlink(native(target).constData());
            return StageResult::NotDatabase;
        }
        if (got == 0)
            break;
        written = FileSystem::WriteWhole(out.get(), buffer, got);
    }
    written = written && ::fsync(out.get()) == 0 && out.close();
    if (!written) {
        ::unlink(native(target).constData());
        return StageResult::WriteFailed;
    }
    return StageResult::Ok;
}

}  // namespace DatabaseCopy
