#include "platform/net/LrclibClient.h"

#include "platform/net/LrclibReader.h"
#include "platform/net/LrclibRequest.h"

#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkRequest>

namespace {

using QueryItems = QList<std::pair<QString, QString>>;

// Every reserved character percent-encoded: a "+" left as it is would reach the server as a space.
QString encodedQuery(const QueryItems& items)
{
    QStringList parts;
    for (const auto& [key, value] : items)
        parts << QString::fromLatin1(QUrl::toPercentEncoding(key) + '=' + QUrl::toPercentEncoding(value));
    return parts.join(u'&');
}

QString wholeSeconds(double seconds)
{
    return QString::number(qRound64(seconds));
}

} // namespace

LrclibClient::LrclibClient(QObject* parent) : QObject(parent) {}

LrclibClient::~LrclibClient() = default;

bool LrclibClient::IsAllowedServer(const QUrl& base)
{
    if (!base.isValid() || base.host().isEmpty())
        return false;
    const QString scheme = base.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    if (scheme != QLatin1String("http"))
        return false;
    if (base.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(base.host());
    return !address.isNull() && address.isLoopback();
}

QUrl LrclibClient::Endpoint(const QString& path, const QueryItems& query) const
{
    QUrl url = m_server;
    QString basePath = url.path();
    while (basePath.endsWith(u'/'))
        basePath.chop(1);
    url.setPath(basePath + path);
    url.setQuery(query.isEmpty() ? QString() : encodedQuery(query), QUrl::StrictMode);
    url.setFragment(QString());
    return url;
}

QNetworkRequest LrclibClient::Request(const QUrl& url) const
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, m_userAgent);
    request.setRawHeader("Accept", "application/json");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    return request;
}

LrclibRequest* LrclibClient::Send(const QByteArray& verb, const QNetworkRequest& request, const QByteArray& body,
                                  QObject* context, BodyHandler handler)
{
    if (!IsAllowedServer(m_server))
        return new LrclibRequest(LrclibError{LrclibError::Kind::InsecureServer, 0, m_server.toString()}, context,
                                 std::move(handler), this);
    // Made at the first request: most sessions never ask the service anything.
    if (!m_network) {
        m_network = new QNetworkAccessManager(this);
        m_network->setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
    }
    QNetworkReply* reply = verb == "POST" ? m_network->post(request, body) : m_network->get(request);
    return new LrclibRequest(reply, m_timeoutMs, MaxAnswerBytes, context, std::move(handler), this);
}

LrclibRequest* LrclibClient::Records(const QUrl& url, QObject* context, RecordsHandler handler)
{
    return Send("GET", Request(url), {}, context, [handler](const QByteArray& body, LrclibError error) {
        QList<LrclibRecord> records;
        if (!error.IsError()) {
            if (auto read = LrclibReader::Records(body, error))
                records = *read;
        }
        handler(records, error);
    });
}

LrclibRequest* LrclibClient::OneRecord(const QUrl& url, QObject* context, RecordHandler handler)
{
    return Send("GET", Request(url), {}, context, [handler](const QByteArray& body, LrclibError error) {
        LrclibRecord record;
        if (!error.IsError()) {
            if (auto read = LrclibReader::Record(body, error))
                record = *read;
        }
        handler(record, error);
    });
}

LrclibRequest* LrclibClient::Search(const LrclibTrack& fields, QObject* context, RecordsHandler handler)
{
    QueryItems query;
    for (const auto& [key, value] : {std::pair{QStringLiteral("track_name"), fields.TrackName},
                                     std::pair{QStringLiteral("artist_name"), fields.ArtistName},
                                     std::pair{QStringLiteral("album_name"), fields.AlbumName}})
        if (!value.isEmpty())
            query.append({key, value});
    return Records(Endpoint(QStringLiteral("/api/search"), query), context, std::move(handler));
}

LrclibRequest* LrclibClient::SearchText(const QString& text, QObject* context, RecordsHandler handler)
{
    return Records(Endpoint(QStringLiteral("/api/search"), {{QStringLiteral("q"), text}}), context,
                   std::move(handler));
}

LrclibRequest* LrclibClient::Get(const LrclibTrack& track, bool cachedOnly, QObject* context, RecordHandler handler)
{
    QueryItems query{{QStringLiteral("track_name"), track.TrackName}, {QStringLiteral("artist_name"), track.ArtistName}};
    if (!track.AlbumName.isEmpty())
        query.append({QStringLiteral("album_name"), track.AlbumName});
    if (track.Duration > 0)
        query.append({QStringLiteral("duration"), wholeSeconds(track.Duration)});
    const QString path = cachedOnly ? QStringLiteral("/api/get-cached") : QStringLiteral("/api/get");
    return OneRecord(Endpoint(path, query), context, std::move(handler));
}

LrclibRequest* LrclibClient::GetById(qint64 id, QObject* context, RecordHandler handler)
{
    return OneRecord(Endpoint(QStringLiteral("/api/get/%1").arg(id)), context, std::move(handler));
}

LrclibRequest* LrclibClient::RequestChallenge(QObject* context, ChallengeHandler handler)
{
    return Send("POST", Request(Endpoint(QStringLiteral("/api/request-challenge"))), {}, context,
                [handler](const QByteArray& body, LrclibError error) {
                    LrclibChallenge challenge;
                    if (!error.IsError()) {
                        if (auto read = LrclibReader::Challenge(body, error))
                            challenge = *read;
                    }
                    handler(challenge, error);
                });
}

LrclibRequest* LrclibClient::Publish(const LrclibChallenge& challenge, quint64 nonce, const LrclibRecord& record,
                                     QObject* context, PublishHandler handler)
{
    QNetworkRequest request = Request(Endpoint(QStringLiteral("/api/publish")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setRawHeader("X-Publish-Token", challenge.Prefix + ':' + QByteArray::number(nonce));
    const QJsonObject body{
        {QStringLiteral("trackName"), record.Track.TrackName},
        {QStringLiteral("artistName"), record.Track.ArtistName},
        {QStringLiteral("albumName"), record.Track.AlbumName},
        {QStringLiteral("duration"), record.Track.Duration},
        {QStringLiteral("plainLyrics"), record.PlainLyrics},
        {QStringLiteral("syncedLyrics"), record.SyncedLyrics},
    };
    return Send("POST", request, QJsonDocument(body).toJson(QJsonDocument::Compact), context,
                [handler](const QByteArray&, const LrclibError& error) { handler(error); });
}
