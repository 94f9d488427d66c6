// The cost of the automatic readings of a 100-line lyric: the dictionary's readings of every
// line (goal: under 50 ms, once per document), the index of readings the displays build from
// them, and reading the file itself as the baseline of the same run.
#include "platform/text/ReadingSource.h"
#include "player/karaoke/AutoReadings.h"
#include "player/karaoke/KaraokeData.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kLines = 100;
constexpr int kRuns = 20;
constexpr double kGoalMs = 50.0;

const char16_t* const kPhrases[] = {u"今日は空が青い", u"帰り道に桜の花が咲いた", u"遠い街の灯りを見つめて",
                                    u"君の声が聞こえる夜", u"風に吹かれて歩き出す", u"明日の約束を忘れない"};

// A lyric of 100 lines timed word by word, with a written reading now and then.
QString lyricText()
{
    QString text;
    for (int line = 0; line < kLines; ++line) {
        const QString phrase = QString::fromUtf16(kPhrases[line % std::size(kPhrases)]);
        for (qsizetype i = 0; i < phrase.size(); ++i)
            text += CKaraokeBlock::FormatTagText(LyricTime(line * 4000 + i * 300)) + phrase[i];
        if (line % 10 == 0)
            text += QStringLiteral("｜歌《うた》");
        text += QStringLiteral("\r\n");
    }
    return text;
}

// The fastest of the runs, in milliseconds.
double fastestMs(const std::function<void()>& work)
{
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QElapsedTimer load;
    load.start();
    const auto source = CReadingSource::System();
    const double loadMs = double(load.nsecsElapsed()) / 1e6;
    if (!source) {
        std::printf("ruby bench: no dictionary (install mecab-ipadic-utf8)\n");
        return 1;
    }
    const QString text = lyricText();
    CKaraokeData data;
    const double parseMs = fastestMs([&] { data.ParseKaraokeText(text); });
    const QStringList lines = data.RubyLines();
    const double readingsMs = fastestMs([&] { CAutoReadings::Compute(lines, source.get()); });
    data.AdoptAutomaticReadings(CAutoReadings::Compute(lines, source.get()));
    size_t spans = 0;
    const double indexMs = fastestMs([&] { spans = data.Rubies(RubyMode::Automatic).Spans().size(); });
    std::printf("ruby bench: %d lines, %zu readings\n", kLines, spans);
    std::printf("  dictionary load (once per process): %8.2f ms\n", loadMs);
    std::printf("  reading the lyric text (baseline):  %8.2f ms\n", parseMs);
    std::printf("  automatic readings:                 %8.2f ms  (%.1f x baseline; goal < %.0f ms: %s)\n",
                readingsMs, readingsMs / parseMs, kGoalMs, readingsMs < kGoalMs ? "met" : "MISSED");
    std::printf("  index of readings for the display:  %8.2f ms  (%.1f x baseline)\n", indexMs, indexMs / parseMs);
    return 0;
}
