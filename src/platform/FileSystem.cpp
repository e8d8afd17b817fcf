#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <utility>

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
    return FileStamp{info.st_size, qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

bool MakeFolder(const QString& path) { return !path.isEmpty() && QDir().mkpath(path); }

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

bool WriteAtomic(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    if (failBeforeRename) {
        file.flush();
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool CopyOver(const QString& source, const QString& target)
{
    QByteArray data;
    if (!ReadAll(source, &data))
        return false;
    QFile out(target);
    if (out.exists() && !out.remove() && !(MakeOwnerWritable(target) && out.remove()))
        return false;
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const bool written = out.write(data) == data.size();
    out.close();
    return written && out.error() == QFileDevice::NoError;
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
