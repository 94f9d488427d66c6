#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <memory>

class CSonavelDlg;
class MprisService;

// The main window on the session bus as an MPRIS2 player: desktops' media controls and media
// keys reach the same code as the tool bar, the loop and shuffle boxes and the volume slider,
// and the desktop sees the play state, the modes, the volume and the playing track's metadata
// (with its cover and plain lyrics). Without a session bus the window works the same.
class CMprisBridge : public QObject
{
    Q_OBJECT
public:
    static constexpr char InstanceName[] = "sonavel";

    explicit CMprisBridge(CSonavelDlg& dialog);
    ~CMprisBridge() override;

    MprisService& Service() const { return *m_service; }

private:
    void Register();
    void ConnectRequests();
    void ConnectWindowState();
    void ConnectRate();
    void Play();
    void Pause();
    void PlayPause();
    void SeekBy(qint64 offsetMicroseconds);
    void SeekTo(qint64 positionMicroseconds);
    void OpenUri(const QString& uri);
    void SetBoxChecked(int controlId, bool on);
    void SetVolume(double volume);
    int PlayState() const;

    void OnPlayStateChange(int state);
    void OnNowPlayingInfo(const QString& title, const QString& artist, const QString& album, const QString& track);
    void UpdateMetadata();
    // The thumbnail's picture as a file in the cache folder for mpris:artUrl; empty without one.
    QString WriteArtwork(const QString& trackUrl);

    CSonavelDlg& m_dialog;
    std::unique_ptr<MprisService> m_service;
    QVariantMap m_texts;
    QString m_trackUrl;
    int m_trackNumber = 0;
    QString m_artworkFile;
};
