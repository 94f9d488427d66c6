#include "tests/onlinelyrics/LrclibTestServer.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTcpSocket>

#include <sys/socket.h>

#include <cmath>

namespace {

QByteArray json(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray errorBody(int code, const char* name, const char* message)
{
    return json({{"code", code}, {"name", name}, {"message", message}});
}

bool containsFolded(const QJsonObject& record, const char* key, const QString& wanted)
{
    return wanted.isEmpty() || record.value(QLatin1String(key)).toString().contains(wanted, Qt::CaseInsensitive);
}

bool sameFolded(const QJsonObject& record, const char* key, const QString& wanted)
{
    return record.value(QLatin1String(key)).toString().compare(wanted, Qt::CaseInsensitive) == 0;
}

// A connection reset instead of a close: the kernel sends RST when the linger time is 0.
void reset(QTcpSocket* socket)
{
    const linger option{1, 0};
    ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &option, sizeof option);
    socket->abort();
}

} // namespace

LrclibTestServer::LrclibTestServer()
{
    connect(&m_server, &QTcpServer::newConnection, this, &LrclibTestServer::OnConnection);
}

bool LrclibTestServer::Listen()
{
    return m_server.listen(QHostAddress::LocalHost);
}

QUrl LrclibTestServer::Url() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
}

QJsonObject LrclibTestServer::Record(int id, const QString& title, const QString& artist, const QString& album,
                                     double duration, const QJsonValue& synced, const QJsonValue& plain,
                                     bool instrumental)
{
    return {{"id", id}, {"trackName", title}, {"artistName", artist}, {"albumName", album}, {"duration", duration},
            {"instrumental", instrumental}, {"plainLyrics", plain}, {"syncedLyrics", synced}};
}

void LrclibTestServer::OnConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { m_pending.remove(socket); });
    }
}

void LrclibTestServer::OnReadable(QTcpSocket* socket)
{
    QByteArray& buffer = m_pending[socket];
    buffer += socket->readAll();
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    Request request;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.Method = first.value(0);
    const QUrl target(QString::fromLatin1(first.value(1)));
    request.Path = target.path();
    request.Query = QUrlQuery(target.query(QUrl::FullyEncoded));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.Headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.Headers.value("content-length").toLongLong();
    if (buffer.size() < headEnd + 4 + length)
        return;
    request.Body = buffer.mid(headEnd + 4, length);
    m_pending.remove(socket);
    Requests.append(request);
    if (!Misbehaved(socket, request))
        Answer(socket, request);
}

void LrclibTestServer::Send(QTcpSocket* socket, int status, const QByteArray& body, const QByteArray& extraHeaders)
{
    socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: application/json\r\n" +
                  "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n" + extraHeaders +
                  "\r\n" + body);
    socket->disconnectFromHost();
}

bool LrclibTestServer::Misbehaved(QTcpSocket* socket, const Request& request)
{
    const QByteArray redirect = "/api/get?track_name=x";
    switch (Misbehave) {
    case Misbehaviour::None: return false;
    case Misbehaviour::NotJson: Send(socket, 200, "<html>Bad gateway</html>"); break;
    case Misbehaviour::ObjectForArray: Send(socket, 200, json(Record(1, "a", "b", "c", 1, "[00:01.00]x", "x"))); break;
    case Misbehaviour::WrongType: {
        QJsonObject record = Record(1, "a", "b", "c", 1, "[00:01.00]x", "x");
        record.insert("duration", "3:00");
        const QByteArray body = json(record);
        Send(socket, 200, request.Path == "/api/search" ? "[" + body + "]" : body);
        break;
    }
    case Misbehaviour::Huge:
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 52428800\r\n\r\n[");
        socket->write(QByteArray(1 << 20, ' '));
        break;
    case Misbehaviour::HugeWithoutLength:
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n[");
        socket->write(QByteArray(3 << 20, ' '));
        socket->disconnectFromHost();
        break;
    case Misbehaviour::NeverAnswers: break;
    case Misbehaviour::Resets: reset(socket); break;
    case Misbehaviour::RedirectsToHttp: Send(socket, 302, {}, "Location: " + Url().toEncoded() + redirect + "\r\n"); break;
    case Misbehaviour::RedirectsToHttps:
        Send(socket, 302, {}, "Location: https://127.0.0.1:1" + redirect + "\r\n");
        break;
    case Misbehaviour::ServerError: Send(socket, 500, errorBody(500, "ServerError", "database is down")); break;
    }
    return true;
}

void LrclibTestServer::Answer(QTcpSocket* socket, const Request& request)
{
    if (request.Path == "/api/search")
        return Send(socket, 200, QJsonDocument(Search(request.Query)).toJson(QJsonDocument::Compact));
    if (request.Path == "/api/get" || request.Path == "/api/get-cached" || request.Path.startsWith("/api/get/")) {
        const QJsonObject found = Find(request.Query.isEmpty() ? QUrlQuery("id=" + request.Path.section('/', -1))
                                                               : request.Query);
        return found.isEmpty() ? Send(socket, 404, errorBody(404, "TrackNotFound", "Failed to find specified track"))
                               : Send(socket, 200, json(found));
    }
    if (request.Path == "/api/request-challenge" && request.Method == "POST") {
        m_prefixes.append(QByteArray::number(QRandomGenerator::global()->generate64(), 36));
        return Send(socket, 200, json({{"prefix", QString::fromLatin1(m_prefixes.last())},
                                       {"target", QString::fromLatin1(TargetHex)}}));
    }
    if (request.Path == "/api/publish" && request.Method == "POST") {
        if (!TokenIsValid(request.Headers.value("x-publish-token")))
            return Send(socket, 400, errorBody(400, "IncorrectPublishToken", "The provided publish token is incorrect"));
        Published.append(QJsonDocument::fromJson(request.Body).object());
        return Send(socket, 201, {});
    }
    Send(socket, 404, errorBody(404, "NotFound", "No such endpoint"));
}

QJsonArray LrclibTestServer::Search(const QUrlQuery& query) const
{
    QJsonArray found;
    const auto value = [&query](const char* key) { return query.queryItemValue(key, QUrl::FullyDecoded); };
    for (const QJsonValue& item : Records) {
        const QJsonObject record = item.toObject();
        const QString text = value("q");
        const bool matches = text.isEmpty()
                                 ? containsFolded(record, "trackName", value("track_name")) &&
                                       containsFolded(record, "artistName", value("artist_name")) &&
                                       containsFolded(record, "albumName", value("album_name"))
                                 : (record.value("trackName").toString() + ' ' + record.value("artistName").toString() +
                                    ' ' + record.value("albumName").toString()).contains(text, Qt::CaseInsensitive);
        if (matches && found.size() < 20)
            found.append(record);
    }
    return found;
}

QJsonObject LrclibTestServer::Find(const QUrlQuery& query) const
{
    const auto value = [&query](const char* key) { return query.queryItemValue(key, QUrl::FullyDecoded); };
    for (const QJsonValue& item : Records) {
        const QJsonObject record = item.toObject();
        if (query.hasQueryItem("id")) {
            if (record.value("id").toInt() == value("id").toInt())
                return record;
            continue;
        }
        const bool durationMatches = !query.hasQueryItem("duration") ||
                                     std::abs(record.value("duration").toDouble() - value("duration").toDouble()) <= 2;
        if (sameFolded(record, "trackName", value("track_name")) && sameFolded(record, "artistName", value("artist_name")) &&
            (!query.hasQueryItem("album_name") || sameFolded(record, "albumName", value("album_name"))) && durationMatches)
            return record;
    }
    return {};
}

bool LrclibTestServer::TokenIsValid(const QByteArray& token) const
{
    const qsizetype colon = token.indexOf(':');
    const QByteArray prefix = token.left(colon);
    const QByteArray nonce = token.mid(colon + 1);
    if (colon <= 0 || !m_prefixes.contains(prefix) || nonce.isEmpty())
        return false;
    const QByteArray hash = QCryptographicHash::hash(prefix + nonce, QCryptographicHash::Sha256);
    return hash.toHex() <= TargetHex.toLower(); // equal-length hex compares as the numbers do
}
