#include "DataEnvironment.h"

#include "DBConfig.h"
#include "Fatal.h"
#include "FolderFileExists.h"
#include "Options.h"
#include "RegData.h"
#include "platform/KnownFolders.h"

#include <memory>

namespace {

std::unique_ptr<DataEnvironment> instance;

QString databasePath(const QString& file)
{
    return KnownFolders::UserDataFolder() + QStringLiteral("/System/") + file;
}

}  // namespace

void DataEnvironment::DataEnvironment_Initialize()
{
    if (!FileExists(databasePath(QStringLiteral("tesryn.db"))))
        FatalEnd(GetLangText(QStringLiteral("mes281")));
    Connection1.SetConnectionString(
        Connection::MakeConnectionString(databasePath(QStringLiteral("tesryn.db")), QStringLiteral("qk_mirtolven")));
    Connection2.SetConnectionString(Connection::MakeConnectionString(databasePath(QStringLiteral("tesphn.db")),
                                                                     QStringLiteral("kettle_mirtolven")));
    Connection3.SetConnectionString(
        Connection::MakeConnectionString(databasePath(QStringLiteral("tesbus.db")), QStringLiteral("qk_lam")));
}

RegistryStore DataEnvironment::Registry()
{
    OpenIfClosed(Connection1);
    if (!registryPrepared_)
        registryPrepared_ = PrepareRegistry(Connection1);
    return RegistryStore(Connection1);
}

DataEnvironment& DataEnvironment1()
{
    if (!instance) {
        instance = std::make_unique<DataEnvironment>();
        instance->DataEnvironment_Initialize();
    }
    return *instance;
}

void EndDataEnvironment()
{
    if (!instance)
        return;
    for (Connection* connection : {&instance->Connection1, &instance->Connection2, &instance->Connection3}) {
        const DbResult closed = connection->Close();
        if (!closed.Ok())
            LogDbFailure(connection->Path(), closed);
    }
    instance.reset();
}
