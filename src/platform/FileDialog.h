#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Open and save dialogs. Tests queue results instead of showing a dialog; a
// queued empty text stands for a cancelled dialog.
namespace FileDialog {

enum class Mode { Open, Save, Folder };

// The chosen path (a folder in Folder mode), or "" when cancelled. A save dialog adds
// defaultSuffix (without its dot) to a name typed without an extension, before it
// asks about overwriting.
QString Ask(QWidget* parent, Mode mode, const QString& title, const QString& folder,
            const QString& fileName, const QString& qtFilter, const QString& defaultSuffix = QString());

// "desc|*.a;*.b|desc2|*.c" (the program's filter form) in Qt's form, with the
// upper-case patterns added (Linux file names are case-sensitive).
QString QtFilter(const QString& windowsFilter);

void PushResult(const QString& path);
struct Asked {
    Mode mode;
    QString title;
    QString folder;
    QString fileName;
    QString filter;
    QString defaultSuffix;
};
QList<Asked> AskedForTests();
void ClearForTests();

}  // namespace FileDialog
