#pragma once

#include "platform/net/LrclibTypes.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QNetworkReply;
class QUrl;

// One call to the service under way. It answers once, on the thread it was made on, with the
// status and the body of a 2xx answer or with the reason there is none: the whole call is given
// up after the timeout, redirects are followed only to https, and an answer past the size limit
// is refused as it comes in. A cancelled call, or one whose context object is gone, answers never.
class LrclibRequest : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const QByteArray& body, const LrclibError& error)>;

    LrclibRequest(QNetworkReply* reply, int timeoutMs, qint64 maxBytes, QObject* context, Done done,
                  QObject* parent);
    // A request that never went out: it answers `error` from the event loop.
    LrclibRequest(const LrclibError& error, QObject* context, Done done, QObject* parent);
    ~LrclibRequest() override;

    void Cancel();

private:
    void OnRedirected(const QUrl& url);
    void OnMetaDataChanged();
    void OnReadyRead();
    void OnFinished();
    // Gives the call up with the reason, before the reply has finished.
    void Stop(LrclibError::Kind kind, const QString& detail);
    void ReleaseReply();
    LrclibError ErrorOfFinishedReply() const;
    void Answer(const QByteArray& body, const LrclibError& error);

    QPointer<QNetworkReply> m_reply;
    QTimer m_timeout;
    qint64 m_maxBytes = 0;
    QByteArray m_body;
    QPointer<QObject> m_context;
    bool m_hasContext = false;
    Done m_done;
};
