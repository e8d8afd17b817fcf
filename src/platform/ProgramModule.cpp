#include "ProgramModule.h"

#include "KnownFolders.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <dlfcn.h>

void* OpenProgramModule(const char* fileName)
{
    const QString programDir = QFileInfo(KnownFolders::ExecutablePath()).absolutePath();
    for (const char* folder : {"/lib/tessaryn/", "/../lib/tessaryn/"}) {
        const QString path = programDir + QLatin1String(folder) + QLatin1String(fileName);
        if (!QFileInfo::exists(path))
            continue;
        if (void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL))
            return module;
        std::fprintf(stderr, "Tessaryn: %s\n", dlerror());
        return nullptr;
    }
    std::fprintf(stderr, "Tessaryn: the module %s is missing beside the program\n", fileName);
    return nullptr;
}
