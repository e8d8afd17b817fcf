#include "clsINI.h"

#include "platform/FileSystem.h"

namespace {

// Every language text is looked up by name: no copies per comparison.
bool sameName(const QString& a, const QString& b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// Spaces only: tabs stay part of the line.
QString trimSpaces(const QString& line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && line[end - 1] == QLatin1Char(' '))
        --end;
    return line.mid(begin, end - begin);
}

}  // namespace

const QString& AbsentText()
{
    static const QString absent(QChar(0));
    return absent;
}

bool IsAbsent(const QString& text) { return text == AbsentText(); }

QString NoNul(const QString& text)
{
    QString clean = text;
    clean.remove(QChar(0));
    return clean;
}

bool IsBlank(const QString& text) { return text.isEmpty() || IsAbsent(text); }

const clsINI::IniSection* clsINI::find(const QString& section) const
{
    for (const IniSection& s : sections_) {
        if (sameName(s.Name, section))
            return &s;
    }
    return nullptr;
}

clsINI::IniSection* clsINI::find(const QString& section)
{
    return const_cast<IniSection*>(std::as_const(*this).find(section));
}

bool clsINI::RemoveSection(const QString& section)
{
    for (qsizetype i = 0; i < sections_.size(); ++i) {
        if (sameName(sections_[i].Name, section)) {
            sections_.removeAt(i);
            return true;
        }
    }
    return false;
}

bool clsINI::SectionExists(const QString& section) const { return find(section) != nullptr; }

bool clsINI::UpdateFile() const
{
    if (fileName_.isEmpty())
        return false;
    return FileSystem::WriteAtomic(fileName_, Serialize());
}

bool clsINI::ValueExists(const QString& section, const QString& key) const
{
    const IniSection* s = find(section);
    if (!s)
        return false;
    for (const IniValue& v : s->Values) {
        if (sameName(v.Key, key))
            return true;
    }
    return false;
}

QString clsINI::ValueName(const QString& section, int position) const
{
    const IniSection* s = find(section);
    if (!s || position < 1 || position > s->Values.size())
        return AbsentText();
    return s->Values[position - 1].Key;
}

bool clsINI::RemoveValue(const QString& section, const QString& key)
{
    IniSection* s = find(section);
    if (!s)
        return false;
    for (qsizetype i = 0; i < s->Values.size(); ++i) {
        if (sameName(s->Values[i].Key, key)) {
            s->Values.removeAt(i);
            return true;
        }
    }
    return false;
}

bool clsINI::AddValue(const QString& section, const QString& key, const QString& value)
{
    if (!find(section))
        AddSection(section);
    if (ValueExists(section, key))
        return false;
    find(section)->Values.append({key, value});
    return true;
}

int clsINI::ValuesCount(const QString& section) const
{
    const IniSection* s = find(section);
    return s ? static_cast<int>(s->Values.size()) : -1;
}

void clsINI::SetValue(const QString& section, const QString& key, const QString& value)
{
    IniSection* s = find(section);
    if (!s) {
        sections_.append({section, {{key, value}}});
        return;
    }
    for (IniValue& v : s->Values) {
        if (sameName(v.Key, key)) {
            v.Value = value;
            return;
        }
    }
    s->Values.append({key, value});
}

QString clsINI::Value(const QString& section, const QString& key) const
{
    const IniSection* s = find(section);
    if (!s)
        return AbsentText();
    for (const IniValue& v : s->Values) {
        if (sameName(v.Key, key))
            return v.Value;
    }
    return AbsentText();
}

clsINI::Index::Index(const clsINI& document)
{
    // As Value: the first section of a name counts, and in it the first key of a name.
    for (const IniSection& section : document.sections_) {
        const QString name = section.Name.toCaseFolded();
        if (sections_.contains(name))
            continue;
        QHash<QString, QString>& keys = sections_[name];
        for (const IniValue& value : section.Values) {
            const QString key = value.Key.toCaseFolded();
            if (!keys.contains(key))
                keys.insert(key, value.Value);
        }
    }
}

QString clsINI::Index::Lookup(const QString& section, const QString& key) const
{
    const auto keys = sections_.constFind(section.toCaseFolded());
    if (keys == sections_.constEnd())
        return AbsentText();
    const auto found = keys->constFind(key.toCaseFolded());
    return found == keys->constEnd() ? AbsentText() : *found;
}

QString clsINI::SectionName(int position) const
{
    if (position < 1 || position > sections_.size())
        return AbsentText();
    return sections_[position - 1].Name;
}

bool clsINI::AddSection(const QString& section)
{
    if (find(section))
        return false;
    sections_.append({section, {}});
    return true;
}

void clsINI::SetFileName(const QString& path)
{
    fileName_ = path;
    sections_.clear();
    QByteArray bytes;
    if (FileSystem::IsFile(path) && FileSystem::ReadAll(path, &bytes))
        Parse(bytes);
}

void clsINI::Parse(const QByteArray& bytes)
{
    sections_.clear();
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    IniSection* current = nullptr;
    const QStringList lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        line = trimSpaces(line);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype comment = line.indexOf(QLatin1Char(';'));
        if (comment >= 0)
            line.truncate(comment);
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            if (close < 2)
                continue;
            sections_.append({line.mid(1, close - 1), {}});
            current = &sections_.last();
            continue;
        }
        if (!current)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 1)
            continue;
        current->Values.append({line.left(equals), line.mid(equals + 1)});
    }
}

QByteArray clsINI::Serialize() const
{
    QString out;
    for (const IniSection& s : sections_) {
        out += QLatin1Char('[') + s.Name + QStringLiteral("]\r\n");
        for (const IniValue& v : s.Values)
            out += v.Key + QLatin1Char('=') + v.Value + QStringLiteral("\r\n");
        out += QStringLiteral("\r\n");
    }
    return out.toUtf8();
}
