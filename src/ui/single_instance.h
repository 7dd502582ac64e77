// One Kopienwacht per user: a second start asks the running one to come to the front and
// ends. A lock file decides who runs (a lock left by a crashed instance is taken over), a
// local socket carries the request.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace kw::ui
{

class SingleInstance : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)
public:
    // `name` tells instances of different users (or tests) apart.
    explicit SingleInstance(const QString &name = defaultName());
    ~SingleInstance() override;

    // True for the first instance, which then listens for later ones. False when another
    // instance runs; it has been asked to come to the front.
    bool claim();

    static QString defaultName();
    // Where the lock file and the socket lie, both.
    static QString folder();

signals:
    void activationRequested();

private:
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

} // namespace kw::ui
