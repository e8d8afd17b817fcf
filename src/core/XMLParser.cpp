#include "XMLParser.h"

#include "Fatal.h"
#include "Options.h"
#include "platform/KnownFolders.h"
#include "platform/XmlReader.h"

namespace {

XmlReader loadOrEnd()
{
    XmlReader reader;
    if (!reader.LoadFile(MainXmlPath()))
        FatalEnd(GetLangText(QStringLiteral("mes280")));
    return reader;
}

}  // namespace

QString MainXmlPath() { return KnownFolders::SharedDataFolder() + QStringLiteral("/main.xml"); }

QString ReadMainXml(const QString& name) { return loadOrEnd().NamedValue(name); }

void WriteMainXml(const QString& name, const QString& value)
{
    XmlReader reader = loadOrEnd();
    reader.SetNamedValue(name, value);
    if (!reader.Save(MainXmlPath()))
        FatalEnd(GetLangText(QStringLiteral("mes280")));
}
