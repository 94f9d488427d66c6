#include "platform/net/LrclibRequest.h"

#include "platform/net/LrclibReader.h"

#include <QNetworkReply>
#include <QUrl>

namespace {

bool isConnectionFailure(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::UnknownNetworkError:
        return true;
    default:
        return false;
    }
}

} // namespace

LrclibRequest::LrclibRequest(QNetworkReply* reply, int timeoutMs, qint64 maxBytes, QObject* context, Done done,
                             QObject* parent)
    : QObject(parent), m_reply(reply), m_maxBytes(maxBytes), m_context(context), m_hasContext(context != nullptr),
      m_done(std::move(done))
{
    connect(reply, &QNetworkReply::redirected, this, &LrclibRequest::OnRedirected);
    connect(reply, &QNetworkReply::metaDataChanged, this, &LrclibRequest::OnMetaDataChanged);
    connect(reply, &QNetworkReply::readyRead, this, &LrclibRequest::OnReadyRead);
    connect(reply, &QNetworkReply::finished, this, &LrclibRequest::OnFinished);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this,
            [this] { Stop(LrclibError::Kind::Timeout, QString::number(m_timeout.interval() / 1000.0)); });
    m_timeout.start(timeoutMs);
}

LrclibRequest::LrclibRequest(const LrclibError& error, QObject* context, Done done, QObject* parent)
    : QObject(parent), m_context(context), m_hasContext(context != nullptr), m_done(std::move(done))
{
    QTimer::singleShot(0, this, [this, error] {
        Answer({}, error);
        deleteLater();
    });
}

LrclibRequest::~LrclibRequest()
{
    m_done = nullptr;
    ReleaseReply();
}

void LrclibRequest::Cancel()
{
    m_done = nullptr;
    ReleaseReply();
    deleteLater();
}

void LrclibRequest::ReleaseReply()
{
    m_timeout.stop();
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply.clear();
}

void LrclibRequest::OnRedirected(const QUrl& url)
{
    // A redirect may not take the call (and what it sends) off an encrypted connection.
    if (url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0)
        emit m_reply->redirectAllowed();
    else
        Stop(LrclibError::Kind::InsecureRedirect, url.toString());
}

void LrclibRequest::OnMetaDataChanged()
{
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > m_maxBytes)
        Stop(LrclibError::Kind::TooLarge, QString::number(length.toLongLong()));
}

void LrclibRequest::OnReadyRead()
{
    m_body += m_reply->readAll();
    if (m_body.size() > m_maxBytes)
        Stop(LrclibError::Kind::TooLarge, QString::number(m_body.size()));
}

void LrclibRequest::Stop(LrclibError::Kind kind, const QString& detail)
{
    if (!m_reply)
        return;
    ReleaseReply();
    Answer({}, LrclibError{kind, 0, detail});
    deleteLater();
}

void LrclibRequest::OnFinished()
{
    if (!m_reply)
        return;
    m_body += m_reply->readAll();
    const LrclibError error = ErrorOfFinishedReply();
    ReleaseReply();
    Answer(error.IsError() ? QByteArray() : m_body, error);
    deleteLater();
}

LrclibError LrclibRequest::ErrorOfFinishedReply() const
{
    LrclibError error;
    const QNetworkReply::NetworkError network = m_reply->error();
    // Below 200 the connection failed (perhaps after a redirect whose status is still there);
    // above, the server answered with an error status.
    const bool connectionFailed = network > QNetworkReply::NoError && network < QNetworkReply::ContentAccessDenied;
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && !connectionFailed) {
        error.HttpStatus = status.toInt();
        if (error.HttpStatus >= 200 && error.HttpStatus < 300)
            return error;
        error.What = error.HttpStatus == 404 ? LrclibError::Kind::NotFound : LrclibError::Kind::Http;
        error.Detail = LrclibReader::ServerMessage(m_body);
        return error;
    }
    error.Detail = m_reply->errorString();
    if (network == QNetworkReply::NoError)
        error.What = LrclibError::Kind::ConnectionClosed; // finished without any HTTP answer
    else if (isConnectionFailure(network))
        error.What = LrclibError::Kind::NoConnection;
    else if (network == QNetworkReply::RemoteHostClosedError)
        error.What = LrclibError::Kind::ConnectionClosed;
    else if (network == QNetworkReply::TimeoutError)
        error.What = LrclibError::Kind::Timeout;
    else
        error.What = LrclibError::Kind::Other;
    return error;
}

void LrclibRequest::Answer(const QByteArray& body, const LrclibError& error)
{
    Done done = std::move(m_done);
    m_done = nullptr;
    if (done && (!m_hasContext || m_context))
        done(body, error);
}
