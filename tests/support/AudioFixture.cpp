#include "tests/support/AudioFixture.h"

#include <QFileInfo>
#include <QProcess>

namespace AudioFixture {

bool Tone(const QString& path, double seconds)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    const QString codec = extension == "ogg"    ? "libvorbis"
                          : extension == "opus" ? "libopus"
                          : extension == "m4a"  ? "aac"
                          : extension == "mp3"  ? "libmp3lame"
                                                : "flac";
    QStringList arguments{"-v",
                          "error",
                          "-y",
                          "-f",
                          "lavfi",
                          "-i",
                          QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
                          "-ar",
                          extension == "opus" ? "48000" : "44100",
                          "-ac",
                          "1",
                          "-c:a",
                          codec,
                          "-map_metadata",
                          "-1",
                          "-fflags",
                          "+bitexact"};
    if (extension == "mp3")
        arguments << "-id3v2_version"
                  << "0"
                  << "-write_xing"
                  << "0";
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments << path);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

} // namespace AudioFixture
