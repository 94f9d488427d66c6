#pragma once

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>
#include <QUrlQuery>

class QTcpSocket;

// The lyrics service as its documentation describes it, on the loopback address: search, get,
// get-cached, get by id, request-challenge and publish (which checks the proof of work), over
// records the test gives. A misbehaviour makes every later answer go wrong in that way.
class LrclibTestServer : public QObject
{
    Q_OBJECT
public:
    enum class Misbehaviour {
        None, NotJson, ObjectForArray, WrongType, Huge, HugeWithoutLength, NeverAnswers, Resets,
        RedirectsToHttp, RedirectsToHttps, ServerError,
    };
    struct Request {
        QByteArray Method;
        QString Path;
        QUrlQuery Query;
        QHash<QByteArray, QByteArray> Headers; // names in lower case
        QByteArray Body;
    };

    LrclibTestServer();
    bool Listen();
    QUrl Url() const;

    // A record as the service gives it; `synced` and `plain` may be null (QJsonValue::Null).
    static QJsonObject Record(int id, const QString& title, const QString& artist, const QString& album,
                              double duration, const QJsonValue& synced, const QJsonValue& plain,
                              bool instrumental = false);

    QJsonArray Records;
    Misbehaviour Misbehave = Misbehaviour::None;
    // Publish: the hex target handed out, and what was published with a valid token.
    QByteArray TargetHex = "0fffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff";
    QList<QJsonObject> Published;
    QList<Request> Requests;

private:
    void OnConnection();
    void OnReadable(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const Request& request);
    void Send(QTcpSocket* socket, int status, const QByteArray& body, const QByteArray& extraHeaders = {});
    bool Misbehaved(QTcpSocket* socket, const Request& request);
    QJsonArray Search(const QUrlQuery& query) const;
    QJsonObject Find(const QUrlQuery& query) const;
    bool TokenIsValid(const QByteArray& token) const;

    QHash<QTcpSocket*, QByteArray> m_pending;
    QList<QByteArray> m_prefixes;
    // Last, so its sockets go while the rest is still there.
    QTcpServer m_server;
};
