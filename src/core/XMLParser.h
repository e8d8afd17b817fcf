#pragma once

#include <QString>

// Named text entries of the shared settings file main.xml ("Version"). Every call
// loads the file anew; a missing or damaged file ends the program with "mes280".
QString ReadMainXml(const QString& name);
void WriteMainXml(const QString& name, const QString& value);
QString MainXmlPath();
