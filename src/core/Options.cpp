#include "Options.h"

#include "Fatal.h"
#include "clsINI.h"
#include "frmProcess.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"

#include <QHash>

namespace {

// Parsed files, reused while the file on disk is unchanged: a language file holds
// hundreds of keys and every window looks up dozens.
struct Cached {
    std::optional<FileSystem::FileStamp> stamp;
    std::optional<clsINI::Index> index;
};

QHash<QString, Cached>& cache()
{
    static QHash<QString, Cached> files;
    return files;
}

// The parsed file; a missing or unreadable file ends the program silently.
const clsINI::Index& document(const QString& path)
{
    const std::optional<FileSystem::FileStamp> stamp = FileSystem::Stamp(path);
    if (!stamp)
        FatalEnd();
    Cached& entry = cache()[path];
    if (entry.stamp != stamp) {
        clsINI document;
        document.SetFileName(path);
        entry.index.emplace(document);
        entry.stamp = stamp;
    }
    return *entry.index;
}

QString read(const QString& path, const QString& section, const QString& key)
{
    return document(path).Lookup(section, key);
}

bool write(const QString& path, const QString& section, const QList<std::pair<QString, QString>>& values)
{
    if (!IsStorableSetting(section))
        return false;
    for (const auto& [key, value] : values) {
        if (!IsStorableSetting(key) || !IsStorableSetting(value))
            return false;
    }
    if (!FileSystem::IsFile(path))
        FatalEnd();
    // A file that cannot be read is not written over with the values of this call.
    QByteArray bytes;
    if (!FileSystem::ReadAll(path, &bytes))
        return false;
    clsINI ini;
    ini.SetFileName(path);
    ini.Parse(bytes);
    // A setting that already holds the value costs no write (and no flush to disk).
    bool changed = false;
    for (const auto& [key, value] : values) {
        if (ini.Value(section, key) != value) {
            ini.SetValue(section, key, value);
            changed = true;
        }
    }
    if (!changed)
        return true;
    cache().remove(path);
    // A file that is there but cannot be written (a full disk, a read-only file) is
    // the caller's to report: the program runs on with the file as it was.
    return ini.UpdateFile();
}

bool write(const QString& path, const QString& section, const QString& key, const QString& value)
{
    return write(path, section, {{key, value}});
}

QString languageName() { return Forms::Get<frmProcess>().LanguageName.trimmed(); }

bool asciiLettersOnly(const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')))
            return false;
    }
    return true;
}

}  // namespace

bool IsStorableSetting(const QString& value)
{
    for (QChar c : value) {
        if (c == QLatin1Char(';') || c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0)
            return false;
    }
    return true;
}

std::optional<bool> ReadFlagSetting(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const qint64 number = trimmed.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number != 0;
}

QString OptionsFilePath() { return KnownFolders::UserDataFolder() + QStringLiteral("/options.ini"); }

QString LangIniPath() { return KnownFolders::UserDataFolder() + QStringLiteral("/lang.ini"); }

QString LanguageFilePath(const QString& name)
{
    return Forms::Get<frmProcess>().AppPath + QStringLiteral("/Language/") + name + QStringLiteral(".ini");
}

QString OwnTextsFilePath(const QString& name)
{
    return KnownFolders::UserDataFolder() + QStringLiteral("/System/Own/") + name + QStringLiteral(".ini");
}

QString ReadOption(const QString& section, const QString& key)
{
    return read(OptionsFilePath(), section, key);
}

bool WriteOption(const QString& section, const QString& key, const QString& value)
{
    return write(OptionsFilePath(), section, key, value);
}

bool WriteOptions(const QString& section, const QList<std::pair<QString, QString>>& values)
{
    return write(OptionsFilePath(), section, values);
}

QString ReadLangIni(const QString& section, const QString& key)
{
    const QString value = read(LangIniPath(), section, key);
    if (asciiLettersOnly(value))
        return value;
    const QString english = QStringLiteral("English");
    // The run goes on in English either way; the file is put right when it can be.
    std::ignore = WriteLangIni(section, key, english);
    return english;
}

bool WriteLangIni(const QString& section, const QString& key, const QString& value)
{
    return write(LangIniPath(), section, key, value);
}

QString GetLangText(const QString& key)
{
    QString text = NoNul(read(LanguageFilePath(languageName()), QStringLiteral("Translation"), key));
    text.replace(QStringLiteral("&!"), QStringLiteral(" "));
    return text;
}

QString GetOwnText(const QString& key)
{
    return NoNul(read(OwnTextsFilePath(languageName()), QStringLiteral("Values"), key));
}

bool SetOwnText(const QString& key, const QString& value) { return SetOwnTextOf(languageName(), key, value); }

bool SetOwnTextOf(const QString& name, const QString& key, const QString& value)
{
    return write(OwnTextsFilePath(name), QStringLiteral("Values"), key, value);
}

QString GetSiteZone()
{
    return NoNul(read(LanguageFilePath(languageName()), QStringLiteral("Site"), QStringLiteral("zone")));
}
