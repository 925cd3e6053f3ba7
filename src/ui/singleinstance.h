#pragma once

#include "ui/instancelock.h"

#include <QByteArrayList>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace kovrant {

// The files named on the program's command line (its arguments but for one "--" ending the
// options), each as an absolute path in the bytes the system gave, so that a name that is not
// UTF-8 reaches the window as it is on disk.
QByteArrayList LaunchFiles(int argc, const char* const* argv);
// Those files as the window names them, bytes that are not UTF-8 kept as DecodeFileName keeps
// them; a path that is not absolute is left out.
QStringList DecodedFiles(const QByteArrayList& files);

// One window per user. The first start holds the lock and listens on a local socket beside it,
// in the private runtime folder; a later start asks it through that socket to come to the front
// and take the later start's files, then ends. A start that finds nobody answering (a lock of a
// process that hangs, a stale socket) removes the socket and becomes the first.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // folder: PrivateRuntimeFolder(); "" gives a start without lock or socket.
    explicit SingleInstance(QString folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands files (absolute paths) to a running instance; true when it took them, and this start
    // ends. Otherwise this start is the first: it takes the lock when it can and listens. A
    // running instance that holds the lock has patience to answer.
    bool handOver(const QByteArrayList& files,
                  std::chrono::milliseconds patience = std::chrono::seconds(3));
    bool isListening() const;

    static QString lockPath(const QString& folder);
    static QString socketPath(const QString& folder);

Q_SIGNALS:
    // A later start asks the window to come to the front and take files, whose names keep bytes
    // that are not UTF-8 as DecodeFileName keeps them.
    void requested(const QStringList& files);

private:
    bool ask(const QByteArray& request, std::chrono::milliseconds patience, bool retry) const;
    void listen();
    void serve(QLocalSocket* socket);

    QString m_folder;
    std::unique_ptr<InstanceLock> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace kovrant
