#include "ui/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace kw::ui
{
namespace
{

constexpr int kWaitMilliseconds = 2000;

// A folder of this user's alone, and a real one: another user's or a link would let someone
// else take the lock or the socket.
bool privateFolder(const QByteArray &path)
{
    struct stat status = {};
    return !path.isEmpty() && ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

} // namespace

QString SingleInstance::folder()
{
    // The session's runtime folder where there is one; else one of our own in the temporary
    // folder. Lock and socket always lie side by side, so that the instance that holds the
    // lock is the one that is asked.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (privateFolder(runtime))
        return QString::fromLocal8Bit(runtime);
    const QByteArray own = QFile::encodeName(QDir::tempPath()) + "/kopienwacht-" + QByteArray::number(::getuid());
    ::mkdir(own.constData(), 0700);
    if (privateFolder(own))
        return QFile::decodeName(own);
    // Someone else took that name first: our cache folder, made (for us alone) if need be.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache)) {
        const QByteArray encoded = QFile::encodeName(cache);
        struct stat status = {};
        if (::lstat(encoded.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::getuid())
            ::chmod(encoded.constData(), 0700);
        if (privateFolder(encoded))
            return cache;
    }
    return {};
}

namespace
{

QString lockPath(const QString &name)
{
    return QDir(SingleInstance::folder()).filePath(name + QStringLiteral(".lock"));
}

QString socketPath(const QString &name)
{
    return QDir(SingleInstance::folder()).filePath(name + QStringLiteral(".socket"));
}
} // namespace

SingleInstance::SingleInstance(const QString &name) : m_name(name) { }

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    return QStringLiteral("Kopienwacht-") + QString::number(::getuid());
}

bool SingleInstance::claim()
{
    if (folder().isEmpty()) {
        m_unguarded = true;
        return true;
    }
    m_lock = std::make_unique<QLockFile>(lockPath(m_name));
    m_lock->setStaleLockTime(0); // a lock whose process is gone is stale at once
    if (!m_lock->tryLock(100)) {
        if (m_lock->error() != QLockFile::LockFailedError) { // no lock to be had at all
            m_unguarded = true;
            return true;
        }
        QLocalSocket socket;
        socket.connectToServer(socketPath(m_name));
        if (socket.waitForConnected(kWaitMilliseconds)) {
            socket.write("activate\n");
            socket.waitForBytesWritten(kWaitMilliseconds);
            socket.disconnectFromServer();
        }
        return false;
    }
    // We hold the lock: a socket still there was left by an instance that crashed.
    QLocalServer::removeServer(socketPath(m_name));
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            emit activationRequested();
        }
    });
    m_server->listen(socketPath(m_name));
    return true;
}

} // namespace kw::ui
