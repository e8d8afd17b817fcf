#include "KnownFolders.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

QString programFolderOverride;

QString envOr(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

QString trimmed(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString tessarynUnder(const QString& folder)
{
    return trimmed(folder) + QStringLiteral("/Tessaryn");
}

}  // namespace

namespace KnownFolders {

QString UserDataFolder()
{
    const QString appData = qEnvironmentVariable("APPDATA");
    if (!appData.isEmpty())
        return tessarynUnder(appData);
    return tessarynUnder(envOr("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share")));
}

QString InstallDataFolder()
{
    const QString common = qEnvironmentVariable("CommonProgramFiles");
    if (!common.isEmpty())
        return tessarynUnder(common);
    return tessarynUnder(ProgramFolder());
}

QString ProgramFolder()
{
    if (!programFolderOverride.isEmpty())
        return programFolderOverride;
    const QString exeDir = QFileInfo(ExecutablePath()).absolutePath();
    if (IsInstalledProgram(ExecutablePath()))
        return QDir::cleanPath(exeDir + QStringLiteral("/../share/tessaryn"));
    return exeDir + QStringLiteral("/share/tessaryn");
}

bool IsInstalledProgram(const QString& executable)
{
    const QString exeDir = QFileInfo(executable).absolutePath();
    return QFileInfo(exeDir + QStringLiteral("/../share/tessaryn/Language")).isDir();
}

QString ConfigHome()
{
    return trimmed(envOr("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config")));
}

QString SharedDataFolder() { return tessarynUnder(ConfigHome()); }

QString LegacyDataFolder()
{
    const QString legacy = qEnvironmentVariable("TESSARYN_LEGACY_FOLDER");
    return legacy.isEmpty() ? QString() : tessarynUnder(legacy);
}

QString UserProfileFolder()
{
    return trimmed(envOr("USERPROFILE", QDir::homePath()));
}

QString UserName()
{
    return envOr("Username", qEnvironmentVariable("USER"));
}

QString ExecutablePath()
{
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? QString() : QString::fromStdString(path.string());
}

void SetProgramFolder(const QString& path) { programFolderOverride = trimmed(path); }

}  // namespace KnownFolders
