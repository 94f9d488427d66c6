#pragma once

#include "platform/net/LrclibTypes.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class LrclibRequest;
class QNetworkAccessManager;
class QNetworkRequest;

// A client of the LRCLIB API (search, get, get-cached, get by id, request-challenge, publish) on
// Qt Network. Nothing blocks: each call answers its handler once on this thread, unless the
// request is cancelled or `context` (when given) is destroyed first. The server is https; plain
// http is taken only for an address on the loopback interface (a mirror or a test's server on
// this machine), where nothing leaves the computer.
class LrclibClient : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultTimeoutMs = 10000;
    static constexpr qint64 MaxAnswerBytes = 2 * 1024 * 1024;

    using RecordHandler = std::function<void(const LrclibRecord& record, const LrclibError& error)>;
    using RecordsHandler = std::function<void(const QList<LrclibRecord>& records, const LrclibError& error)>;
    using ChallengeHandler = std::function<void(const LrclibChallenge& challenge, const LrclibError& error)>;
    using PublishHandler = std::function<void(const LrclibError& error)>;

    explicit LrclibClient(QObject* parent = nullptr);
    ~LrclibClient() override;

    void SetServer(const QUrl& base) { m_server = base; }
    QUrl Server() const { return m_server; }
    void SetUserAgent(const QString& userAgent) { m_userAgent = userAgent; }
    QString UserAgent() const { return m_userAgent; }
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    static bool IsAllowedServer(const QUrl& base);

    // By fields (the empty ones left out).
    LrclibRequest* Search(const LrclibTrack& fields, QObject* context, RecordsHandler handler);
    // By free text over titles, artists and albums.
    LrclibRequest* SearchText(const QString& text, QObject* context, RecordsHandler handler);
    // The record of the track (the service matches the duration within 2 s); NotFound for none.
    LrclibRequest* Get(const LrclibTrack& track, bool cachedOnly, QObject* context, RecordHandler handler);
    LrclibRequest* GetById(qint64 id, QObject* context, RecordHandler handler);
    LrclibRequest* RequestChallenge(QObject* context, ChallengeHandler handler);
    // Sends the record's track and lyrics with the token "prefix:nonce".
    LrclibRequest* Publish(const LrclibChallenge& challenge, quint64 nonce, const LrclibRecord& record,
                           QObject* context, PublishHandler handler);

private:
    using BodyHandler = std::function<void(const QByteArray& body, const LrclibError& error)>;
    QUrl Endpoint(const QString& path, const QList<std::pair<QString, QString>>& query = {}) const;
    QNetworkRequest Request(const QUrl& url) const;
    LrclibRequest* Send(const QByteArray& verb, const QNetworkRequest& request, const QByteArray& body,
                        QObject* context, BodyHandler handler);
    LrclibRequest* Records(const QUrl& url, QObject* context, RecordsHandler handler);
    LrclibRequest* OneRecord(const QUrl& url, QObject* context, RecordHandler handler);

    QNetworkAccessManager* m_network = nullptr;
    QUrl m_server;
    QString m_userAgent;
    int m_timeoutMs = DefaultTimeoutMs;
};
