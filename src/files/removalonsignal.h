#pragma once

#include <QByteArray>

namespace kovrant {

// A temporary file's name that SIGTERM, SIGINT or SIGHUP removes before the process ends with
// that signal. The handlers are installed when the first name is registered, and only for
// signals whose disposition is still the default (a SIGHUP that nohup ignores stays ignored).
// A name is registered before the file is created and unregistered once it no longer exists.
class RemovalOnSignal {
public:
    RemovalOnSignal() = default;
    RemovalOnSignal(const RemovalOnSignal&) = delete;
    RemovalOnSignal& operator=(const RemovalOnSignal&) = delete;
    ~RemovalOnSignal() { unregister(); }

    // Registers name in the open folder, in place of any name registered before. False, with
    // nothing registered, when the registry is full or name longer than a temporary name.
    bool registerName(int folder, const QByteArray& name);
    void unregister();

private:
    int m_slot = -1;
};

} // namespace kovrant
