#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kovrant {

// The folder where the window keeps what no other user may reach: its lock and its socket.
// $XDG_RUNTIME_DIR when it is a private folder (below), else "Kovrant" in the user's cache folder
// ($XDG_CACHE_HOME, else ~/.cache), made private when missing; "" when neither can be had, and
// the window then starts without a lock. Nothing is made anywhere else: not in the temporary
// folder, which every user shares, and not in the current folder.
QString PrivateRuntimeFolder();

// True when path is a folder, not a link, that this user owns and no one else may read, write or
// enter (mode 0700 on Unix).
bool IsPrivateFolder(const QString& path);

// Qt's own start looks for its runtime folder and, without a valid $XDG_RUNTIME_DIR, makes one
// in the temporary folder. While this lives, $XDG_RUNTIME_DIR names folder instead (when it is
// not valid already and folder is private); restore() puts back what it was, so that the
// programs the window starts see the user's own environment.
class RuntimeFolderForStart {
public:
    explicit RuntimeFolderForStart(const QString& folder);
    ~RuntimeFolderForStart() { restore(); }
    RuntimeFolderForStart(const RuntimeFolderForStart&) = delete;
    RuntimeFolderForStart& operator=(const RuntimeFolderForStart&) = delete;

    void restore();

private:
    bool m_changed = false;
    std::optional<QByteArray> m_before;
};

} // namespace kovrant
