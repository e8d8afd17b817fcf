#include "InterfaceLanguage.h"

#include "core/LanguageCodes.h"
#include "core/Options.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/QtTranslation.h"

#include <QDir>
#include <QPointer>

namespace {

bool asciiLetters(const QString& text)
{
    for (QChar c : text) {
        if (!((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))))
            return false;
    }
    return !text.isEmpty();
}

}  // namespace

QStringList LanguageNames(const QString& folder)
{
    const QLatin1String extension(".ini");
    QStringList names;
    for (const QString& file : QDir(folder).entryList(QDir::Files | QDir::Readable, QDir::Name)) {
        const QString name = file.chopped(std::min<qsizetype>(file.size(), extension.size()));
        if (file.endsWith(extension) && asciiLetters(name) && IsLanguageFile(folder + QLatin1Char('/') + file))
            names.append(name);
    }
    return names;
}

bool PrepareOwnTexts(const QString& name)
{
    const QString own = OwnTextsFilePath(name);
    if (FileSystem::IsFile(own))
        return true;
    const QString installed = KnownFolders::InstallDataFolder() + QStringLiteral("/System/Own/") + name
        + QStringLiteral(".ini");
    const QString source = FileSystem::IsFile(installed)
        ? installed
        : OwnTextsFilePath(Forms::Get<frmProcess>().LanguageName.trimmed());
    QByteArray texts;
    return FileSystem::ReadAll(source, &texts) && FileSystem::WriteAtomic(own, texts);
}

void SwitchInterfaceLanguage()
{
    frmProcess& process = Forms::Get<frmProcess>();
    QtTranslation::Use(LanguageCode(process.LanguageName));
    process.ApplyLanguage();
    if (frmMain* loaded = Forms::Find<frmMain>()) {
        const int left = loaded->Left();
        const int top = loaded->Top();
        Forms::Unload(loaded);
        // The load lets window events run: a main window gone meanwhile ends the switch.
        QPointer<frmMain> main(&Forms::Get<frmMain>());
        if (!main)
            return;
        main->Move(left, top);
        main->ShowModeless();
    }
    process.DateRefresh();
}
