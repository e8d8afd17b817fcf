#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Open and save dialogs. Tests queue results instead of showing a dialog; a
// queued empty text stands for a cancelled dialog.
namespace FileDialog {

enum class Mode { Open, Save, Folder };

// The chosen path (a folder in Folder mode), or "" when cancelled.
QString Ask(QWidget* parent, Mode mode, const QString& title, const QString& folder,
            const QString& fileName, const QString& qtFilter);

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
};
QList<Asked> AskedForTests();
void ClearForTests();

}  // namespace FileDialog
