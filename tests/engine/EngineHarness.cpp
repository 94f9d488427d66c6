#include "tests/engine/EngineHarness.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>

EngineHarness::EngineHarness(bool untimed) : m_untimed(untimed)
{
    start();
}

void EngineHarness::start()
{
    Player::Options options = Player::Options::fromEnvironment();
    options.nullAudio = true;
    options.nullVideo = true;
    options.untimed = m_untimed;
    options.playlistFolder = m_playlists.path();
    m_player = Player::create(options);
    if (!m_player)
        return;
    QObject::connect(m_player.get(), &Player::PlayStateChange, [this](int state) {
        m_states << state;
        m_pending << state;
        if (state == 3 && m_player->currentMedia())
            m_played << m_player->currentMedia()->getItemInfo(QStringLiteral("Title")).value_or(QString());
    });
}

void EngineHarness::restart()
{
    m_player.reset();
    start();
}

QString EngineHarness::mp3(const QString& name, double seconds, const Mp3Fixture::Tags& tags)
{
    return Mp3Fixture::write(m_files.file(name), tags, seconds);
}

PlaylistPtr EngineHarness::listOf(const QStringList& paths)
{
    auto playlist = std::make_shared<Playlist>(QStringLiteral("test"));
    for (const QString& path : paths)
        playlist->appendItem(m_player->newMedia(path));
    return playlist;
}

QList<int> EngineHarness::takeStates()
{
    QList<int> states;
    states.swap(m_pending);
    return states;
}

// An event loop that ends with the signal, so the caller goes on right after it (a polling wait
// could let a short item play to its end before it looks).
bool EngineHarness::waitForState(int state, int timeoutMs)
{
    if (m_pending.contains(state))
        return true;
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    QObject::connect(m_player.get(), &Player::PlayStateChange, &loop, [&](int reported) {
        if (reported == state)
            loop.quit();
    });
    loop.exec();
    return m_pending.contains(state);
}
