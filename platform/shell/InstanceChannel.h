#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// A local socket beside the instance lock through which a second start hands its request (a
// path) to the instance that runs, then ends. Only the lock's holder listens.
class InstanceChannel : public QObject
{
    Q_OBJECT
public:
    // $XDG_RUNTIME_DIR/<name>.socket, else in the temp folder with the user id.
    static QString socketPath(const QString& name);

    explicit InstanceChannel(const QString& name, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Starts listening, replacing a socket file a crashed instance left; false when it cannot.
    bool listen();
    // From a second start: true when the running instance received the message.
    static bool send(const QString& name, const QString& message, int timeoutMs = 3000);

signals:
    void messageReceived(const QString& message);

private:
    void readConnection();

    QString m_path;
    QLocalServer* m_server;
};
