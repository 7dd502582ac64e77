#include "ui/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace kw::ui
{
namespace
{

constexpr int kWaitMilliseconds = 2000;

QString lockPath(const QString &name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(name + QStringLiteral(".lock"));
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
    m_lock = std::make_unique<QLockFile>(lockPath(m_name));
    m_lock->setStaleLockTime(0); // a lock whose process is gone is stale at once
    if (!m_lock->tryLock(100)) {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (socket.waitForConnected(kWaitMilliseconds)) {
            socket.write("activate\n");
            socket.waitForBytesWritten(kWaitMilliseconds);
            socket.disconnectFromServer();
        }
        return false;
    }
    // We hold the lock: a socket still there was left by an instance that crashed.
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            emit activationRequested();
        }
    });
    m_server->listen(m_name);
    return true;
}

} // namespace kw::ui
