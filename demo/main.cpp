// Writes the demo karaoke library: for every .song file a tagged mp3 of its synthesised melody
// with lyrics timed from its notes (a .kra file, an enhanced .lrc file, or only the tag), and a
// cover.png for the tracks whose tag has no picture.
//   sonavel_demo SONGS_FOLDER OUTPUT_FOLDER

#include "demo/DemoCover.h"
#include "demo/DemoLyrics.h"
#include "demo/DemoSong.h"
#include "demo/DemoTag.h"
#include "demo/MelodySynth.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool Fail(const QString& message)
{
    std::fprintf(stderr, "sonavel_demo: %s\n", qPrintable(message));
    return false;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Fail(path + QStringLiteral(": ") + file.errorString());
    return true;
}

QByteArray Jpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// The song as mp3 without any tag, encoded by ffmpeg from a WAVE file.
bool EncodeMp3(const CDemoSong& song, const QTemporaryDir& work, QByteArray& mp3)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return Fail(QStringLiteral("ffmpeg is not installed (scripts/install-deps installs it)"));
    const QString wave = work.filePath(QStringLiteral("song.wav"));
    const QString out = work.filePath(QStringLiteral("song.mp3"));
    if (!WriteFile(wave, CMelodySynth::Wave(CMelodySynth::Render(song))))
        return false;
    QProcess encoder;
    encoder.start(ffmpeg, {"-hide_banner", "-loglevel", "error", "-y", "-i", wave, "-c:a", "libmp3lame", "-q:a",
                           "4", "-id3v2_version", "0", "-write_id3v1", "0", out});
    if (!encoder.waitForFinished(120000) || encoder.exitCode() != 0)
        return Fail(QStringLiteral("ffmpeg failed: ") + QString::fromLocal8Bit(encoder.readAllStandardError()));
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(out + QStringLiteral(": ") + file.errorString());
    mp3 = file.readAll();
    return true;
}

QByteArray Utf16WithMark(const QString& text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

bool WriteTrack(const CDemoSong& song, const QString& baseName, const QDir& output, const QTemporaryDir& work)
{
    QByteArray mp3;
    if (!EncodeMp3(song, work, mp3))
        return false;
    CDemoTag tag;
    tag.AddText("TIT2", song.Title);
    tag.AddText("TPE1", song.Artist);
    tag.AddText("TALB", song.Album);
    tag.AddText("TRCK", QString::number(song.Track));
    if (song.CoverInTag)
        tag.AddFrontCover(Jpeg(CDemoCover::Blossoms(song.Title)));
    if (song.Lyrics == CDemoSong::LyricForm::TagOnly)
        tag.AddLyrics(CDemoLyrics::OwnDialect(song, false));
    if (!WriteFile(output.filePath(baseName + QStringLiteral(".mp3")), tag.Bytes() + mp3))
        return false;
    if (song.Lyrics == CDemoSong::LyricForm::OwnDialect)
        return WriteFile(output.filePath(baseName + QStringLiteral(".kra")),
                         Utf16WithMark(CDemoLyrics::OwnDialect(song, true)));
    if (song.Lyrics == CDemoSong::LyricForm::Lrc)
        return WriteFile(output.filePath(baseName + QStringLiteral(".lrc")), CDemoLyrics::EnhancedLrc(song).toUtf8());
    return true;
}

bool WriteLibrary(const QDir& songs, const QDir& output)
{
    QTemporaryDir work;
    if (!work.isValid() || !output.mkpath(QStringLiteral(".")))
        return Fail(QStringLiteral("cannot create ") + output.path());
    const QStringList files = songs.entryList({QStringLiteral("*.song")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        QString error;
        const std::optional<CDemoSong> song = CDemoSong::Read(songs.filePath(name), error);
        if (!song)
            return Fail(error);
        const QString title = song->Title.section(QStringLiteral(" ("), 0, 0);
        const QString baseName = QStringLiteral("%1 %2").arg(song->Track, 2, 10, QLatin1Char('0')).arg(title);
        if (!WriteTrack(*song, baseName, output, work))
            return false;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    CDemoCover::StarryNight(QStringLiteral("Sonavel デモ")).save(&buffer, "PNG");
    return WriteFile(output.filePath(QStringLiteral("cover.png")), png);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: sonavel_demo SONGS_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    return WriteLibrary(QDir(arguments[1]), QDir(arguments[2])) ? 0 : 1;
}
