#include "RegData.h"

#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/RegistryStore.h"
#include "platform/Shell.h"

#include <QFileInfo>

namespace {

const QString PdfKey = QStringLiteral("HKEY_CLASSES_ROOT\\.pdf\\");

RegistryStore store() { return RegistryStore(RegistryFilePath()); }

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

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
    FileSystem::MakeFolder(QFileInfo(path).absolutePath());
    return FileSystem::WriteAtomic(path, entry.toUtf8());
}

}  // namespace

QString ProgramKey() { return QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Kelmaro Soft\\Tessaryn\\"); }

QString AutostartValuePath()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Tessaryn");
}

QString RegistryFilePath() { return KnownFolders::SharedDataFolder() + QStringLiteral("/registry.reg"); }

QString AutostartEntryPath() { return KnownFolders::ConfigHome() + QStringLiteral("/autostart/tessaryn.desktop"); }

bool RegWrite(const QString& path, const QString& value, const QString& /*type*/)
{
    if (!store().Write(path, value))
        return false;
    return !same(path, AutostartValuePath()) || writeAutostartEntry();
}

bool RegRead(const QString& path, QString* value)
{
    if (same(path, PdfKey)) {
        value->clear();
        return Shell::PdfHandlerRegistered();
    }
    return store().Read(path, value);
}

bool RegDelete(const QString& path)
{
    if (same(path, AutostartValuePath()))
        FileSystem::RemoveFile(AutostartEntryPath());
    return store().Delete(path);
}

bool RegKeyExists(const QString& path)
{
    QString value;
    if (!RegRead(path, &value))
        return false;
    // The autostart value counts only while its desktop entry is there.
    return !same(path, AutostartValuePath()) || FileSystem::IsFile(AutostartEntryPath());
}
