#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <filesystem>
#include <utility>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool failBeforeRename = false;
}

namespace FileSystem {

bool Exists(const QString& path) { return !path.isEmpty() && QFileInfo::exists(path); }

bool IsFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

bool IsFile(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

std::optional<FileStamp> Stamp(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileStamp{info.st_size, qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                     quint64(info.st_ino), qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
}

bool MakeFolder(const QString& path, FileMode mode)
{
    if (path.isEmpty())
        return false;
    const QString folder = QDir::cleanPath(path);
    if (IsFolder(folder))
        return true;
    const QString parent = QFileInfo(folder).path();
    if (parent != folder && !MakeFolder(parent, mode))
        return false;
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), mode == FileMode::OwnerOnly ? S_IRWXU : 0777) != 0)
        return errno == EEXIST && IsFolder(folder);
    // The umask only takes bits away; an odd one may take the owner's too.
    return mode == FileMode::Ordinary || ::chmod(name.constData(), S_IRWXU) == 0;
}

bool CloseFolderToOthers(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (path.isEmpty() || ::stat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) == 0)
        return true;
    return ::chmod(name.constData(), info.st_mode & 07777 & ~mode_t(S_IRWXG | S_IRWXO)) == 0;
}

QStringList FileNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QStringList FolderNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

bool ReadAll(const QString& path, QByteArray* data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *data = file.readAll();
    return file.error() == QFileDevice::NoError;
}

namespace {

constexpr char kLeftOverSuffix[] = ".tsrtmp";

// ".<name>.<pid>-<n>.tsrtmp" beside the target: hidden, and never a name the program
// gives a file of its own.
QString temporaryName(const QString& target)
{
    static std::atomic<unsigned> counter{0};
    const QFileInfo info(target);
    return info.path() + QLatin1String("/.") + info.fileName() + QLatin1Char('.')
           + QString::number(::getpid()) + QLatin1Char('-') + QString::number(counter++)
           + QLatin1String(kLeftOverSuffix);
}

// The mode the new file gets: an exact one, or none where the umask decides (the
// kernel applies it as the file is created, so no thread ever sees it changed).
std::optional<mode_t> exactMode(const QByteArray& target, FileMode mode)
{
    if (mode == FileMode::OwnerOnly)
        return S_IRUSR | S_IWUSR;
    struct stat info {};
    if (::stat(target.constData(), &info) == 0)
        return (info.st_mode & 07777) | S_IRUSR | S_IWUSR;
    return std::nullopt;
}

bool setMode(int fd, std::optional<mode_t> exact)
{
    struct stat info {};
    if (!exact && ::fstat(fd, &info) != 0)
        return false;
    return ::fchmod(fd, exact ? *exact : (info.st_mode & 07777) | S_IRUSR | S_IWUSR) == 0;
}

// Creates the temporary file, lets fill() write it, syncs it and renames it over the
// target; on any failure the temporary file is removed and the target left as it was.
template <typename Fill>
bool replaceAtomically(const QString& target, FileMode mode, Fill fill)
{
    if (target.isEmpty())
        return false;
    const QByteArray targetName = QFile::encodeName(target);
    const std::optional<mode_t> exact = exactMode(targetName, mode);
    // A killed run of the same process id may have left a name behind: take the next.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = QFile::encodeName(temporaryName(target));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exact.value_or(0666));
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return false;
    bool ok = setMode(fd, exact) && fill(fd) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || failBeforeRename || ::rename(temporary.constData(), targetName.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    SyncFolder(QFileInfo(target).path());
    return true;
}

}  // namespace

bool WriteWhole(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

void SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool WriteAtomic(const QString& path, const QByteArray& data, FileMode mode)
{
    return replaceAtomically(path, mode, [&](int fd) { return WriteWhole(fd, data.constData(), data.size()); });
}

bool CopyAtomic(const QString& source, const QString& target, FileMode mode)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    return replaceAtomically(target, mode, [&](int fd) {
        QByteArray piece;
        while (!(piece = in.read(1 << 20)).isEmpty()) {
            if (!WriteWhole(fd, piece.constData(), piece.size()))
                return false;
        }
        return in.error() == QFileDevice::NoError;
    });
}

bool IsAtomicWriteLeftOver(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.\\d+-\\d+\\.tsrtmp$"));
    return pattern.match(fileName).hasMatch();
}

bool RemoveFile(const QString& path)
{
    if (QFile::remove(path))
        return true;
    return MakeOwnerWritable(path) && QFile::remove(path);
}

bool RemoveTree(const QString& path)
{
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    return !error;
}

bool SetOwnerOnly(const QString& path)
{
    return ::chmod(QFile::encodeName(path).constData(), S_IRUSR | S_IWUSR) == 0;
}

bool MakeOwnerWritable(const QString& path)
{
    return QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner
                                           | QFileDevice::ReadOwner);
}

bool ModeAllowsWriting(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    if (info.st_uid == ::geteuid())
        return info.st_mode & S_IWUSR;
    if (info.st_gid == ::getegid())
        return info.st_mode & S_IWGRP;
    return info.st_mode & S_IWOTH;
}

FolderFile::FolderFile(const QString& path)
{
    const QFileInfo file(path);
    folder_ = ::open(QFile::encodeName(file.absolutePath()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    name_ = QFile::encodeName(folder_ < 0 ? path : file.fileName());
}

FolderFile::FolderFile(FolderFile&& other) noexcept
    : folder_(std::exchange(other.folder_, -1))
    , name_(std::move(other.name_))
{
}

FolderFile& FolderFile::operator=(FolderFile&& other) noexcept
{
    if (this != &other) {
        if (folder_ >= 0)
            ::close(folder_);
        folder_ = std::exchange(other.folder_, -1);
        name_ = std::move(other.name_);
    }
    return *this;
}

FolderFile::~FolderFile()
{
    if (folder_ >= 0)
        ::close(folder_);
}

bool FolderFile::Exists() const
{
    if (name_.isEmpty())
        return false;
    return ::faccessat(folder_ < 0 ? AT_FDCWD : folder_, name_.constData(), F_OK, 0) == 0;
}

void SetAtomicWriteFailsBeforeRename(bool fails) { failBeforeRename = fails; }

}  // namespace FileSystem
