#include "platform/engine/PlaylistWriter.h"

#include "platform/text/NativeName.h"
#include "platform/text/TextFile.h"

#include <algorithm>

namespace {

const QString headerLine = QStringLiteral("#EXTM3U");
const QString nameTag = QStringLiteral("#PLAYLIST:");
const QString titleTag = QStringLiteral("#EXTINF:");

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

PlaylistWriter::PlaylistWriter() : m_thread([this] { run(); }) {}

PlaylistWriter::~PlaylistWriter()
{
    finish();
    {
        const std::lock_guard lock(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

QByteArray PlaylistWriter::serialise(const Snapshot& snapshot)
{
    QString text = headerLine + QLatin1Char('\n') + nameTag + oneLine(snapshot.name) + QLatin1Char('\n');
    for (const Line& line : snapshot.lines) {
        // A path with a line break cannot be kept in a line-based list.
        if (line.url.contains(QLatin1Char('\n')) || line.url.contains(QLatin1Char('\r')))
            continue;
        if (line.title)
            text += titleTag + QStringLiteral("-1,") + oneLine(*line.title) + QLatin1Char('\n');
        text += line.url + QLatin1Char('\n');
    }
    return NativeName::toBytes(text);
}

void PlaylistWriter::write(const QString& file, Snapshot snapshot)
{
    {
        const std::lock_guard lock(m_lock);
        const auto waiting = std::find_if(m_waiting.begin(), m_waiting.end(),
                                          [&file](const auto& entry) { return entry.first == file; });
        if (waiting != m_waiting.end())
            waiting->second = std::move(snapshot);
        else
            m_waiting.emplace_back(file, std::move(snapshot));
    }
    m_wake.notify_one();
}

void PlaylistWriter::cancel(const QString& file)
{
    std::unique_lock lock(m_lock);
    std::erase_if(m_waiting, [&file](const auto& entry) { return entry.first == file; });
    m_done.wait(lock, [&] { return m_writing != file; });
}

std::set<QString> PlaylistWriter::finish()
{
    std::unique_lock lock(m_lock);
    m_done.wait(lock, [this] { return m_waiting.empty() && m_writing.isEmpty(); });
    return std::exchange(m_failed, {});
}

void PlaylistWriter::run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
        if (m_waiting.empty())
            return; // stopping, with nothing left to write
        auto [file, snapshot] = std::move(m_waiting.front());
        m_waiting.pop_front();
        m_writing = file;
        lock.unlock();
        const bool written = TextFile::writeAtomically(file, serialise(snapshot));
        lock.lock();
        if (written)
            m_failed.erase(file);
        else
            m_failed.insert(file);
        m_writing.clear();
        m_done.notify_all();
    }
}
