#include "files/removalonsignal.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kovrant {

namespace {

// The handler reads the registry while the process may be anywhere, so an entry is published
// by storing its folder after its name is complete, and withdrawn by clearing the folder first.
struct Entry {
    std::atomic<bool> taken{false};
    std::atomic<int> folder{-1};
    char name[32] = {};
};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// A group of outputs holds a name or two at a time; the room is for callers that hold more.
std::array<Entry, 64> Registry;

constexpr std::array<int, 3> Signals{SIGTERM, SIGINT, SIGHUP};

extern "C" void RemoveAndEnd(int signal)
{
    for (Entry& entry : Registry) {
        const int folder = entry.folder.load(std::memory_order_acquire);
        if (folder >= 0)
            ::unlinkat(folder, entry.name, 0);
    }
    // Ended by the signal itself, so that the exit status says so: it is delivered again with
    // its default action as soon as the handler returns.
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    ::sigaction(signal, &defaultAction, nullptr);
    ::raise(signal);
}

void InstallHandlers()
{
    for (const int signal : Signals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
            (current.sa_flags & SA_SIGINFO) != 0)
            continue;
        struct sigaction action {};
        action.sa_handler = RemoveAndEnd;
        sigemptyset(&action.sa_mask);
        for (const int other : Signals)
            sigaddset(&action.sa_mask, other);
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace

bool RemovalOnSignal::registerName(int folder, const QByteArray& name)
{
    static const bool installed = (InstallHandlers(), true);
    Q_UNUSED(installed);
    unregister();
    if (folder < 0 || name.size() >= qsizetype(sizeof Entry::name))
        return false;
    for (std::size_t slot = 0; slot < Registry.size(); ++slot) {
        Entry& entry = Registry[slot];
        if (entry.taken.exchange(true, std::memory_order_acquire))
            continue;
        std::memcpy(entry.name, name.constData(), std::size_t(name.size()) + 1);
        entry.folder.store(folder, std::memory_order_release);
        m_slot = int(slot);
        return true;
    }
    return false;
}

void RemovalOnSignal::unregister()
{
    if (m_slot < 0)
        return;
    Entry& entry = Registry[std::size_t(m_slot)];
    entry.folder.store(-1, std::memory_order_release);
    entry.taken.store(false, std::memory_order_release);
    m_slot = -1;
}

} // namespace kovrant
