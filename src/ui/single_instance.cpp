#include "ui/single_instance.h"

#include "fs/private_folder.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace kw::ui
{
namespace
{

constexpr int kWaitMilliseconds = 2000;

} // namespace

QString SingleInstance::folder()
{
    // The session's runtime folder where there is one; else one of our own in the temporary
    // folder. Lock and socket always lie side by side, so that the instance that holds the
    // lock is the one that is asked. Each must be of this user's alone, and a real folder:
    // another user's or a link would let someone else take the lock or the socket.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (fs::isPrivateFolder(runtime.toStdString()))
        return QString::fromLocal8Bit(runtime);
    const QByteArray own
        = QFile::encodeName(QDir::tempPath()) + "/kopienwacht-" + QByteArray::fromStdString(fs::currentUserKey());
    if (fs::makePrivateFolder(own.toStdString()))
        return QFile::decodeName(own);
    // Someone else took that name first: our cache folder, made (for us alone) if need be.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache) && fs::restrictToOwner(QFile::encodeName(cache).toStdString()))
        return cache;
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
    return QStringLiteral("Kopienwacht-") + QString::fromStdString(fs::currentUserKey());
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
