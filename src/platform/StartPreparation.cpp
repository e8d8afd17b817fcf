#include "StartPreparation.h"

#include <QFile>
#include <QLibraryInfo>

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace {

// Below the allocator's mmap threshold (128 KB): the blocks are carved from the heap
// one after the other, and once freed they merge into one free stretch of it.
constexpr std::size_t BlockSize = 120 * 1024;

// The plugin the application object goes on to load when it will connect to an X
// display; its own load then finds it in place. Left to the application object
// where it may pick another platform (Wayland, or one named in the environment).
void loadXPlatformPlugin()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                || qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !(platform == "xcb" || (platform.isEmpty() && !waylandSession)))
        return;
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/libqxcb.so");
    dlopen(QFile::encodeName(plugin).constData(), RTLD_LAZY | RTLD_LOCAL);  // kept for the whole run
}

}  // namespace

StartPreparation::StartPreparation(std::size_t heapBytes)
{
    loadXPlatformPlugin();
    for (std::size_t taken = 0; taken < heapBytes; taken += BlockSize) {
        if (char* block = static_cast<char*>(std::malloc(BlockSize)))
            heap_.push_back(block);
    }
    try {
        thread_ = std::thread([this] {
            FcInit();
            touchHeap();
        });
    } catch (const std::system_error&) {
        FcInit();  // no thread to spare: read it here, and leave the heap to fault
    }
}

void StartPreparation::touchHeap()
{
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    for (char* block : heap_) {
        for (std::size_t offset = 0; offset < BlockSize; offset += page) {
            if (finishing_.load(std::memory_order_relaxed))
                return;
            static_cast<volatile char*>(block)[offset] = 0;
        }
    }
}

StartPreparation::~StartPreparation() { Finish(); }

void StartPreparation::Finish()
{
    finishing_ = true;
    if (thread_.joinable())
        thread_.join();
    for (char* block : heap_)
        std::free(block);
    heap_.clear();
}
