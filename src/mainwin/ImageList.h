#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

// The category pictures of the main window, keyed "_" + a category's shown name.
// Keys compare without letter case, as the registry keys and database names do.
class ImageList {
public:
    bool Contains(const QString& key) const { return icons_.contains(key.toCaseFolded()); }
    // A null icon when the key is unknown.
    QIcon Icon(const QString& key) const { return icons_.value(key.toCaseFolded()); }
    // Replaces the picture of a key that is there already.
    void Add(const QString& key, const QIcon& icon) { icons_.insert(key.toCaseFolded(), icon); }
    void Remove(const QString& key) { icons_.remove(key.toCaseFolded()); }

private:
    QHash<QString, QIcon> icons_;
};
