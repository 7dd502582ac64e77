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
    // instance runs; it has been asked to come to the front. Also true, but unguarded, when
    // no folder of this user's alone can be had for the lock (another local user took the
    // names first): better a second window than none.
    bool claim();
    bool unguarded() const { return m_unguarded; }

    static QString defaultName();
    // Where the lock file and the socket lie, both; empty when no private folder can be had.
    static QString folder();

signals:
    void activationRequested();

private:
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_unguarded = false;
};

} // namespace kw::ui
