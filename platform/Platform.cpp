#include "Platform.h"

#include <QFileSystemWatcher>

// What every system shares; the rest is Platform_win.cpp or Platform_unix.cpp.
namespace nerubato {

namespace {

// A document handed to an application (one already running, perhaps) has no
// process of its own to watch: it counts as ended once it has been handed over.
class HandedOver : public Platform::Program
{
public:
    bool hasEnded() override { return true; }
    std::optional<int> exitCode() const override { return std::nullopt; }
};

} // namespace

QFileSystemWatcher *Platform::directoryWatcher(QObject *parent)
{
    return new QFileSystemWatcher(parent);
}

std::unique_ptr<Platform::Program> Platform::handedOver()
{
    return std::make_unique<HandedOver>();
}

} // namespace nerubato
