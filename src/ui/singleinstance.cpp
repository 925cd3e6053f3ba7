#include "ui/singleinstance.h"

#include "files/filenames.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace kovrant {

namespace {

// A request is lines: the greeting, "file " and a percent-encoded path for each file, "end".
// The answer "ok" says the window took it.
const QByteArray Greeting = "kovrant 1 raise";
const QByteArray FileWord = "file ";
const QByteArray EndWord = "end";
const QByteArray Answer = "ok\n";
// A command line holds at most a few MiB; a longer line is no request of ours.
constexpr qint64 MaxLine = 16 * 1024 * 1024;
constexpr std::chrono::milliseconds RetryPause{50};

QByteArray CurrentFolder()
{
#ifdef Q_OS_UNIX
    QByteArray folder(4096, '\0');
    while (!::getcwd(folder.data(), size_t(folder.size()))) {
        if (errno != ERANGE)
            return QByteArray();
        folder.resize(folder.size() * 2);
    }
    return QByteArray(folder.constData());
#else
    return QFile::encodeName(QDir::currentPath());
#endif
}

int Remaining(const QDeadlineTimer& deadline)
{
    return int(std::max<qint64>(deadline.remainingTime(), 0));
}

} // namespace

QByteArrayList LaunchFiles(int argc, const char* const* argv)
{
    QByteArrayList files;
    bool optionsEnded = false;
    const QByteArray folder = CurrentFolder();
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (argument.isEmpty())
            continue;
        if (QDir::isAbsolutePath(QFile::decodeName(argument)) || folder.isEmpty())
            files.append(argument);
        else
            files.append(folder + (folder.endsWith('/') ? "" : "/") + argument);
    }
    return files;
}

QStringList DecodedFiles(const QByteArrayList& files)
{
    QStringList decoded;
    for (const QByteArray& file : files) {
        const QString path = DecodeFileName(file);
        if (QDir::isAbsolutePath(path))
            decoded.append(QDir::cleanPath(path));
    }
    return decoded;
}

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent)
    , m_folder(std::move(folder))
{}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("kovrant.lock"));
}

QString SingleInstance::socketPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("kovrant.socket"));
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

bool SingleInstance::handOver(const QByteArrayList& files, std::chrono::milliseconds patience)
{
    if (m_folder.isEmpty())
        return false;
    m_lock = std::make_unique<InstanceLock>(lockPath(m_folder));
    const bool anotherRuns = m_lock->anotherInstanceRuns();
    if (!m_lock->isHeld()) {
        QByteArray request = Greeting + '\n';
        for (const QByteArray& file : files)
            request += FileWord + file.toPercentEncoding() + '\n';
        request += EndWord + '\n';
        // The holder of the lock listens a moment after taking it; a lock that could not be
        // made tells nothing, and one look at the socket is enough.
        if (ask(request, patience, anotherRuns))
            return true;
    }
    listen();
    return false;
}

bool SingleInstance::ask(const QByteArray& request, std::chrono::milliseconds patience,
                         bool retry) const
{
    const QDeadlineTimer deadline(patience);
    do {
        QLocalSocket socket;
        socket.connectToServer(socketPath(m_folder));
        if (socket.waitForConnected(Remaining(deadline))) {
            socket.write(request);
            socket.flush();
            while (!socket.canReadLine() && socket.waitForReadyRead(Remaining(deadline))) {
            }
            return socket.canReadLine() && socket.readLine(Answer.size() + 1) == Answer;
        }
        if (!retry)
            return false;
        QThread::msleep(static_cast<unsigned long>(RetryPause.count()));
    } while (!deadline.hasExpired());
    return false;
}

void SingleInstance::listen()
{
    const QString path = socketPath(m_folder);
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection())
            serve(socket);
    });
    if (!m_server->listen(path)) {
        delete m_server;
        m_server = nullptr;
    }
}

void SingleInstance::serve(QLocalSocket* socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto files = std::make_shared<QByteArrayList>();
    auto greeted = std::make_shared<bool>(false);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, files, greeted] {
        while (socket->canReadLine()) {
            QByteArray line = socket->readLine(MaxLine);
            if (!line.endsWith('\n')) {
                socket->abort();
                return;
            }
            line.chop(1);
            if (!*greeted) {
                *greeted = line == Greeting;
            } else if (line.startsWith(FileWord)) {
                files->append(QByteArray::fromPercentEncoding(line.sliced(FileWord.size())));
            } else if (line == EndWord) {
                // The later start may end before the window has done anything with the files.
                socket->write(Answer);
                socket->flush();
                socket->disconnectFromServer();
                Q_EMIT requested(DecodedFiles(*files));
                return;
            }
            if (!*greeted) {
                socket->abort();
                return;
            }
        }
        if (socket->bytesAvailable() > MaxLine)
            socket->abort();
    });
}

} // namespace kovrant
