#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text in the legacy code pages that imported files name, read alike whatever
// converters the Qt build holds.
namespace CodePage {

// Qt's name of a Windows code page number; for a page Qt has no converter of, the
// nearest page it has (Mac Japanese reads as Shift_JIS).
QByteArray NameOf(int number);

// True when the Qt build decodes the named code page.
bool Known(const QByteArray& name);

// The bytes as text in the named code page. Under a name the Qt build does not know
// they read as windows-1252, whose five unassigned bytes read as Latin-1: never empty.
QString Decode(QByteArrayView bytes, const QByteArray& name);

}  // namespace CodePage
