#pragma once

#include <QHash>
#include <QList>
#include <QString>

// One whole INI file in memory: an ordered list of sections of key=value pairs.
// Lookups ignore letter case and take the first match; duplicates read from a file
// are kept. A lookup that finds nothing answers with the one-character NUL text.
class clsINI {
public:
    struct IniValue {
        QString Key;
        QString Value;
    };
    struct IniSection {
        QString Name;
        QList<IniValue> Values;
    };

    bool RemoveSection(const QString& section);
    bool SectionExists(const QString& section) const;
    // Writes the whole document (UTF-8, CR LF) atomically; false when FileName is
    // empty or the file cannot be written.
    [[nodiscard]] bool UpdateFile() const;
    bool ValueExists(const QString& section, const QString& key) const;
    QString ValueName(const QString& section, int position) const;
    bool RemoveValue(const QString& section, const QString& key);
    bool AddValue(const QString& section, const QString& key, const QString& value);
    int ValuesCount(const QString& section) const;
    void SetValue(const QString& section, const QString& key, const QString& value);
    QString Value(const QString& section, const QString& key) const;
    QString SectionName(int position) const;
    bool AddSection(const QString& section);
    int SectionsCount() const { return static_cast<int>(sections_.size()); }
    // Stores the path, empties the document and parses the file when it exists.
    void SetFileName(const QString& path);
    const QString& FileName() const { return fileName_; }

    // Parsing and writing without a file, for the settings access and tests.
    void Parse(const QByteArray& bytes);
    QByteArray Serialize() const;
    const QList<IniSection>& Sections() const { return sections_; }

    // The document's lookups frozen into hash tables, for a file read far more often
    // than it changes: Lookup answers as Value would, without a walk through the keys.
    class Index {
    public:
        explicit Index(const clsINI& document);
        QString Lookup(const QString& section, const QString& key) const;

    private:
        // Section to key to value, both names case-folded.
        QHash<QString, QHash<QString, QString>> sections_;
    };

private:
    const IniSection* find(const QString& section) const;
    IniSection* find(const QString& section);

    QString fileName_;
    QList<IniSection> sections_;
};

// The text a lookup answers when it finds nothing: one NUL character.
const QString& AbsentText();
bool IsAbsent(const QString& text);
// "" for the absent text, else the text; no NUL may reach the screen, a file or a path.
QString NoNul(const QString& text);
// True for "" and for the absent text.
bool IsBlank(const QString& text);
