#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QString>

// The XML reader: loads a document from a file or from bytes, walks its
// elements, and keeps named text entries (<entry name="...">text</entry> under the
// root) that can be changed and saved back.
class XmlReader {
public:
    [[nodiscard]] bool LoadFile(const QString& path);
    // Parses raw bytes, so the document's own encoding declaration holds.
    [[nodiscard]] bool LoadBytes(const QByteArray& bytes);

    QDomElement Root() const { return document_.documentElement(); }

    // "" when the entry is missing.
    QString NamedValue(const QString& name) const;
    void SetNamedValue(const QString& name, const QString& value);
    [[nodiscard]] bool Save(const QString& path) const;

    // Walking helpers; each reports a missing element or attribute through ok.
    static QDomElement ChildByName(const QDomElement& parent, const QString& name, bool* ok);
    static int ChildCount(const QDomElement& parent);
    static QDomElement Child(const QDomElement& parent, int position, bool* ok);
    static QString ChildText(const QDomElement& parent, const QString& name, bool* ok);
    static QString Attribute(const QDomElement& element, const QString& name, bool* ok);

private:
    QDomElement entry(const QString& name) const;
    QDomDocument document_;
};
