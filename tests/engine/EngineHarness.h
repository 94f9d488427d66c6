#pragma once

#include "platform/engine/Player.h"
#include "platform/engine/VideoSurface.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"

#include <QList>
#include <QStringList>

#include <memory>

// A real engine with null outputs over temporary folders, recording the play states it reports.
class EngineHarness
{
public:
    explicit EngineHarness(bool untimed = true);

    Player& player() { return *m_player; }
    bool isValid() const { return m_player != nullptr; }
    // Ends the engine and starts a new one over the same playlist folder.
    void restart();

    const TempFolder& files() const { return m_files; }
    QString playlistFolder() const { return m_playlists.path(); }
    // A silent tagged mp3 in the media folder.
    QString mp3(const QString& name, double seconds = 0.3, const Mp3Fixture::Tags& tags = {});
    // A playlist (not stored) holding new items for the paths.
    PlaylistPtr listOf(const QStringList& paths);

    // Every PlayStateChange since the last take.
    QList<int> takeStates();
    // Waits (events running) until the state has been reported; false after the timeout.
    bool waitForState(int state, int timeoutMs = 10000);
    // The titles of the items that reached "playing", in order.
    QStringList playedTitles() const { return m_played; }

private:
    void start();

    bool m_untimed;
    TempFolder m_files;
    TempFolder m_playlists;
    std::unique_ptr<Player> m_player;
    QList<int> m_states;
    QList<int> m_pending;
    QStringList m_played;
};
