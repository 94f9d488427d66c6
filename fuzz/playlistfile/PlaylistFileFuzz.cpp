// Bytes as one of the engine's playlist files: the collection loads it (or skips it as damaged),
// and a playlist it took is written and read again with the same name and items (but for paths
// holding a line break, which a line-based list cannot keep and the writer leaves out).
#include "platform/engine/PlaylistCollection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

QString oneLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

struct Listing {
    QString name;
    QStringList items;
    bool operator==(const Listing&) const = default;
};

std::vector<Listing> listings(const PlaylistCollection& collection)
{
    std::vector<Listing> result;
    for (const PlaylistPtr& playlist : collection.all()) {
        Listing listing{oneLine(playlist->name()), {}};
        for (int i = 0; i < playlist->count(); ++i) {
            const QString url = playlist->item(i)->sourceURL();
            if (!url.contains(u'\r') && !url.contains(u'\n'))
                listing.items << url;
        }
        result.push_back(listing);
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("playlist-0001.m3u8")));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(reinterpret_cast<const char*>(input), qint64(size));
    file.close();
    std::vector<Listing> expected;
    {
        PlaylistCollection collection(folder.path());
        for (const PlaylistPtr& playlist : collection.all())
            playlist->appendItem(Media::forFile(QStringLiteral("/music/added.mp3")));
        expected = listings(collection);
        if (!collection.flush())
            return 0;
    }
    const PlaylistCollection again(folder.path());
    if (listings(again) != expected)
        __builtin_trap();
    return 0;
}
