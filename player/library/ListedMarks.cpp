#include "player/library/ListedMarks.h"

#include "player/library/TrackListModel.h"
#include "player/karaoke/SavedLyricsFolder.h"

#include <malloc.h>

namespace {

// Gathers the marks of a screenful of rows into one update.
constexpr int kDeliveryDelayMs = 10;

} // namespace

CListedMarks::CListedMarks(CTrackListModel& model, QObject* parent) : QObject(parent), m_model(model)
{
    m_delivery.setSingleShot(true);
    m_delivery.setInterval(kDeliveryDelayMs);
    connect(&m_delivery, &QTimer::timeout, this, &CListedMarks::deliver);
    connect(&m_model, &CTrackListModel::marksWanted, this, &CListedMarks::OnMarksWanted);
    m_thread = std::thread([this] { run(); });
}

CListedMarks::~CListedMarks()
{
    {
        const std::lock_guard lock(m_lock);
        m_stopping = true;
        m_waiting.clear();
    }
    m_wake.notify_all();
    m_thread.join();
}

void CListedMarks::Follow(Source source)
{
    m_source = std::move(source);
    const std::lock_guard lock(m_lock);
    ++m_listing;
    m_waiting.clear();
    m_found.clear();
}

void CListedMarks::OnMarksWanted()
{
    std::vector<Job> jobs;
    for (const int row : m_model.takePendingMarks()) {
        const std::variant<bool, Search> mark = m_source ? m_source(row) : std::variant<bool, Search>(false);
        if (const bool* known = std::get_if<bool>(&mark))
            m_model.setFoundMark(row, *known);
        else
            jobs.push_back({0, row, std::get<Search>(mark)});
    }
    if (jobs.empty())
        return;
    {
        const std::lock_guard lock(m_lock);
        for (Job& job : jobs) {
            job.listing = m_listing;
            m_waiting.push_back(std::move(job));
        }
    }
    m_wake.notify_one();
}

void CListedMarks::run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
        if (m_stopping)
            return;
        const Job job = std::move(m_waiting.front());
        m_waiting.pop_front();
        lock.unlock();
        const bool found =
            CSavedLyricsFolder::FindLyrics(job.search.path, job.search.artist, job.search.title).has_value();
        lock.lock();
        if (m_waiting.empty()) {
            // A large folder's listing, searched, leaves much to give back.
            lock.unlock();
            malloc_trim(0);
            lock.lock();
        }
        if (job.listing != m_listing)
            continue; // a new listing came meanwhile
        m_found.emplace_back(job.row, found);
        if (m_found.size() == 1)
            QMetaObject::invokeMethod(&m_delivery, qOverload<>(&QTimer::start), Qt::QueuedConnection);
    }
}

void CListedMarks::deliver()
{
    std::vector<std::pair<int, bool>> found;
    {
        const std::lock_guard lock(m_lock);
        found.swap(m_found);
    }
    for (const auto& [row, mark] : found)
        m_model.setFoundMark(row, mark);
}
