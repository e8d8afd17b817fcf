#include "FileDialog.h"

#include <QFileDialog>
#include <QPointer>
#include <QRegularExpression>

namespace {

struct Script {
    QStringList results;
    QList<FileDialog::Asked> asked;
};

Script& script()
{
    static Script s;
    return s;
}

}  // namespace

namespace FileDialog {

QString Ask(QWidget* parent, Mode mode, const QString& title, const QString& folder, const QString& fileName,
            const QString& qtFilter, const QString& defaultSuffix)
{
    Script& s = script();
    s.asked.append({mode, title, folder, fileName, qtFilter, defaultSuffix});
    if (!s.results.isEmpty())
        return s.results.takeFirst();

    QPointer<QFileDialog> dialog = new QFileDialog(parent, title, folder, qtFilter);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(mode == Mode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(mode == Mode::Open ? QFileDialog::ExistingFile
                        : mode == Mode::Folder ? QFileDialog::Directory
                                               : QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::ShowDirsOnly, mode == Mode::Folder);
    dialog->setDefaultSuffix(defaultSuffix);
    if (!fileName.isEmpty())
        dialog->selectFile(fileName);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    QString chosen;
    if (dialog && accepted && !dialog->selectedFiles().isEmpty())
        chosen = dialog->selectedFiles().first();
    delete dialog;
    return chosen;
}

QString QtFilter(const QString& windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(trailingPatterns);
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            patterns.append(p);
            if (p.toUpper() != p)
                patterns.append(p.toUpper());
        }
        filters.append(description.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
                       + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

void PushResult(const QString& path) { script().results.append(path); }

QList<Asked> AskedForTests() { return script().asked; }

void ClearForTests()
{
    script().results.clear();
    script().asked.clear();
}

}  // namespace FileDialog
