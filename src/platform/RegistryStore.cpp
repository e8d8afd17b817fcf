#include "RegistryStore.h"

#include "FileSystem.h"

#include <QFileInfo>
#include <QList>

namespace {

const QString Header = QStringLiteral("Tessaryn registry 1");
const QChar Sep = QLatin1Char('\\');

struct Value {
    QString name;  // "" = the key's default value
    QString text;
};

struct Key {
    QString path;  // as first written, without a trailing "\"
    QList<Value> values;
};

QString fold(const QString& s) { return s.toCaseFolded(); }

// Names compare without letter case, and without a folded copy of each.
bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString normalKey(QString path)
{
    while (path.endsWith(Sep))
        path.chop(1);
    return path;
}

// Splits a value path into its key and value name ("" for a key's default value).
void splitPath(const QString& path, QString* key, QString* name)
{
    const int cut = path.lastIndexOf(Sep);
    *key = cut < 0 ? QString() : path.left(cut);
    *name = cut < 0 ? path : path.mid(cut + 1);
}

bool validKey(const QString& key)
{
    if (key.isEmpty())
        return false;
    const QStringList parts = key.split(Sep);
    for (const QString& part : parts) {
        if (part.isEmpty())
            return false;
    }
    return true;
}

QString escape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case 0: out += QStringLiteral("\\0"); break;
        default: out += c;
        }
    }
    return out;
}

// Reads one quoted text starting at pos (on the opening quote); pos ends after the closing one.
bool unquote(const QString& line, int* pos, QString* text)
{
    if (*pos >= line.size() || line[*pos] != QLatin1Char('"'))
        return false;
    text->clear();
    for (int i = *pos + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) {
            *pos = i + 1;
            return true;
        }
        if (c == Sep && i + 1 < line.size()) {
            const QChar n = line[++i];
            switch (n.unicode()) {
            case 'n': text->append(QLatin1Char('\n')); break;
            case 'r': text->append(QLatin1Char('\r')); break;
            case 't': text->append(QLatin1Char('\t')); break;
            case '0': text->append(QChar(0)); break;
            default: text->append(n);
            }
            continue;
        }
        text->append(c);
    }
    return false;
}

class Document {
public:
    explicit Document(const QString& file)
    {
        QByteArray bytes;
        if (!FileSystem::ReadAll(file, &bytes))
            return;
        Key* current = nullptr;
        const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                current = ensure(line.mid(1, line.size() - 2));
            } else if (current && (line.startsWith(QLatin1Char('"')) || line.startsWith(QLatin1Char('@')))) {
                QString name;
                QString text;
                int pos = 0;
                if (line.startsWith(QLatin1Char('@')))
                    pos = 1;
                else if (!unquote(line, &pos, &name))
                    continue;
                if (pos >= line.size() || line[pos] != QLatin1Char('='))
                    continue;
                ++pos;
                if (unquote(line, &pos, &text))
                    set(current, name, text);
            }
        }
    }

    Key* find(const QString& keyPath)
    {
        const QString path = normalKey(keyPath);
        for (Key& key : keys_) {
            if (sameName(key.path, path))
                return &key;
        }
        return nullptr;
    }

    // The key with every missing ancestor.
    Key* ensure(const QString& keyPath)
    {
        const QString path = normalKey(keyPath);
        const QStringList parts = path.split(Sep);
        QString prefix;
        Key* key = nullptr;
        for (const QString& part : parts) {
            prefix = prefix.isEmpty() ? part : prefix + Sep + part;
            key = find(prefix);
            if (!key) {
                keys_.append({prefix, {}});
                key = &keys_.last();
            }
        }
        return key;
    }

    static void set(Key* key, const QString& name, const QString& text)
    {
        for (Value& value : key->values) {
            if (sameName(value.name, name)) {
                value.text = text;
                return;
            }
        }
        key->values.append({name, text});
    }

    static const Value* value(const Key* key, const QString& name)
    {
        for (const Value& value : key->values) {
            if (sameName(value.name, name))
                return &value;
        }
        return nullptr;
    }

    bool removeValue(const QString& keyPath, const QString& name)
    {
        Key* key = find(keyPath);
        if (!key)
            return false;
        const qsizetype before = key->values.size();
        key->values.removeIf([&](const Value& v) { return sameName(v.name, name); });
        return key->values.size() != before;
    }

    bool removeKey(const QString& keyPath)
    {
        const QString folded = fold(normalKey(keyPath));
        const QString below = folded + Sep;
        const qsizetype before = keys_.size();
        keys_.removeIf([&](const Key& k) {
            const QString f = fold(k.path);
            return f == folded || f.startsWith(below);
        });
        return keys_.size() != before;
    }

    QStringList children(const QString& keyPath) const
    {
        const QString below = fold(normalKey(keyPath)) + Sep;
        QStringList names;
        for (const Key& key : keys_) {
            const QString f = fold(key.path);
            if (f.startsWith(below) && !f.mid(below.size()).contains(Sep))
                names.append(key.path.mid(below.size()));
        }
        return names;
    }

    QByteArray serialize() const
    {
        QString out = Header + QStringLiteral("\r\n");
        for (const Key& key : keys_) {
            out += QStringLiteral("\r\n[") + key.path + QStringLiteral("]\r\n");
            for (const Value& value : key.values) {
                out += value.name.isEmpty() ? QStringLiteral("@") : QLatin1Char('"') + escape(value.name) + QLatin1Char('"');
                out += QStringLiteral("=\"") + escape(value.text) + QStringLiteral("\"\r\n");
            }
        }
        return out.toUtf8();
    }

private:
    QList<Key> keys_;
};

}  // namespace

RegistryStore::RegistryStore(QString filePath)
    : filePath_(std::move(filePath))
{
}

bool RegistryStore::Write(const QString& path, const QString& value)
{
    QString key;
    QString name;
    splitPath(path, &key, &name);
    if (!validKey(key))
        return false;
    Document doc(filePath_);
    Document::set(doc.ensure(key), name, value);
    FileSystem::MakeFolder(QFileInfo(filePath_).absolutePath());
    return FileSystem::WriteAtomic(filePath_, doc.serialize());
}

bool RegistryStore::Read(const QString& path, QString* value) const
{
    QString key;
    QString name;
    splitPath(path, &key, &name);
    Document doc(filePath_);
    const Key* found = doc.find(key);
    if (!found)
        return false;
    const Value* v = Document::value(found, name);
    if (v) {
        *value = v->text;
        return true;
    }
    // A key that exists answers a read of its default value with "".
    if (name.isEmpty()) {
        value->clear();
        return true;
    }
    return false;
}

bool RegistryStore::Delete(const QString& path)
{
    QString key;
    QString name;
    splitPath(path, &key, &name);
    Document doc(filePath_);
    const bool removed = name.isEmpty() ? doc.removeKey(key) : doc.removeValue(key, name);
    return removed && FileSystem::WriteAtomic(filePath_, doc.serialize());
}

bool RegistryStore::KeyExists(const QString& keyPath) const
{
    Document doc(filePath_);
    return doc.find(keyPath) != nullptr;
}

QStringList RegistryStore::ValueNames(const QString& keyPath) const
{
    Document doc(filePath_);
    QStringList names;
    if (const Key* key = doc.find(keyPath)) {
        for (const Value& v : key->values)
            names.append(v.name);
    }
    return names;
}

QStringList RegistryStore::SubKeys(const QString& keyPath) const
{
    return Document(filePath_).children(keyPath);
}
