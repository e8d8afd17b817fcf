#include "XmlReader.h"

#include "FileSystem.h"

namespace {

const QString EntryTag = QStringLiteral("entry");
const QString NameAttribute = QStringLiteral("name");

void fail(bool* ok)
{
    if (ok)
        *ok = false;
}

}  // namespace

bool XmlReader::LoadFile(const QString& path)
{
    QByteArray bytes;
    return FileSystem::ReadAll(path, &bytes) && LoadBytes(bytes);
}

bool XmlReader::LoadBytes(const QByteArray& bytes)
{
    document_ = QDomDocument();
    return !bytes.isEmpty() && document_.setContent(bytes) && !document_.documentElement().isNull();
}

QDomElement XmlReader::entry(const QString& name) const
{
    for (QDomElement e = Root().firstChildElement(EntryTag); !e.isNull(); e = e.nextSiblingElement(EntryTag)) {
        if (e.attribute(NameAttribute) == name)
            return e;
    }
    return {};
}

QString XmlReader::NamedValue(const QString& name) const { return entry(name).text(); }

void XmlReader::SetNamedValue(const QString& name, const QString& value)
{
    QDomElement e = entry(name);
    if (e.isNull()) {
        e = document_.createElement(EntryTag);
        e.setAttribute(NameAttribute, name);
        document_.documentElement().appendChild(e);
    }
    while (e.hasChildNodes())
        e.removeChild(e.firstChild());
    e.appendChild(document_.createTextNode(value));
}

bool XmlReader::Save(const QString& path) const
{
    return FileSystem::WriteAtomic(path, document_.toByteArray(2));
}

QDomElement XmlReader::ChildByName(const QDomElement& parent, const QString& name, bool* ok)
{
    const QDomElement child = parent.firstChildElement(name);
    if (child.isNull())
        fail(ok);
    return child;
}

int XmlReader::ChildCount(const QDomElement& parent)
{
    int count = 0;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        ++count;
    return count;
}

QDomElement XmlReader::Child(const QDomElement& parent, int position, bool* ok)
{
    int index = 0;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (index++ == position)
            return e;
    }
    fail(ok);
    return {};
}

QString XmlReader::ChildText(const QDomElement& parent, const QString& name, bool* ok)
{
    const QDomElement child = parent.firstChildElement(name);
    if (child.isNull()) {
        fail(ok);
        return {};
    }
    return child.text();
}

QString XmlReader::Attribute(const QDomElement& element, const QString& name, bool* ok)
{
    if (!element.hasAttribute(name)) {
        fail(ok);
        return {};
    }
    return element.attribute(name);
}
