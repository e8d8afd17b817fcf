#include "LanguageCodes.h"

#include "SystemCharset.h"
#include "clsINI.h"
#include "platform/FileSystem.h"

#include <QStringDecoder>

namespace {

struct Language {
    const char* name;
    const char* code;
    bool cyrillic;
};

constexpr Language Languages[] = {
    {"English", "en", false},
    {"Russian", "ru", true},
    {"Ukrainian", "uk", true},
    {"Belorussian", "be", true},
};

}  // namespace

QString LanguageCode(const QString& languageName)
{
    for (const Language& language : Languages) {
        if (languageName == QLatin1String(language.name))
            return QString::fromLatin1(language.code);
    }
    return {};
}

QString LanguageOfLocale(const QString& localeName)
{
    qsizetype end = 0;
    while (end < localeName.size() && localeName.at(end).isLetter())
        ++end;
    const QString code = localeName.left(end).toLower();
    for (const Language& language : Languages) {
        if (code == QLatin1String(language.code))
            return !language.cyrillic || GetSystemCharset() == 204 ? QString::fromLatin1(language.name) : QString();
    }
    return {};
}

QString MessagesLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

bool IsLanguageText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError() || text.contains(QChar(0)))
        return false;
    clsINI document;
    document.Parse(bytes);
    return document.ValueExists(QStringLiteral("Translation"), QStringLiteral("mes1"));
}

bool IsLanguageFile(const QString& path)
{
    QByteArray bytes;
    return FileSystem::IsFile(path) && FileSystem::ReadAll(path, &bytes) && IsLanguageText(bytes);
}
