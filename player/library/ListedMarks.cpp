#include "player/library/ListedMarks.h"

#include "player/library/DeferredDisposal.h"
#include "player/library/TrackListModel.h"
#include "player/karaoke/SavedLyricsFolder.h"

#include <chrono>

namespace {

// Gathers the marks of a screenful of rows into one update.
constexpr int kDeliveryDelayMs = 10;
// How long the thread waits for more rows before it ends.
constexpr std::chrono::milliseconds kIdleEnd(500);
// Long enough for an ended thread to have freed its own data.
constexpr int kTrimDelayMs = 100;

} // namespace

bool CListedMarks::Found(const Search& search)
{
    return CSavedLyricsFolder::FindLyrics(search.path, search.artist, search.title).has_value();
}

CListedMarks::CListedMarks(CTrackListModel& model, QObject* parent) : QObject(parent), m_model(model)
{
    m_delivery.setSingleShot(true);
    m_delivery.setInterval(kDeliveryDelayMs);
    connect(&m_delivery, &QTimer::timeout, this, &CListedMarks::deliver);
    connect(&m_model, &CTrackListModel::marksWanted, this, &CListedMarks::OnMarksWanted);
}

CListedMarks::~CListedMarks()
{
    {
        const std::lock_guard lock(m_lock);
        m_stopping = true;
        m_waiting.clear();
    }
    m_wake.notify_all();
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
    const std::lock_guard lock(m_lock);
    for (Job& job : jobs) {
        job.listing = m_listing;
        m_waiting.push_back(std::move(job));
    }
    if (m_running) {
        m_wake.notify_one();
        return;
    }
    if (m_thread.joinable())
        m_thread.join(); // one that ended for want of work
    m_running = true;
    m_thread = std::jthread([this] { run(); });
}

void CListedMarks::Retire()
{
    QTimer::singleShot(kTrimDelayMs, this, [] { CDeferredDisposal::ReturnFreedMemory(); });
}

void CListedMarks::run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        if (!m_wake.wait_for(lock, kIdleEnd, [this] { return m_stopping || !m_waiting.empty(); })) {
            m_running = false;
            QMetaObject::invokeMethod(this, &CListedMarks::Retire, Qt::QueuedConnection);
            return;
        }
        if (m_stopping)
            return;
        const Job job = std::move(m_waiting.front());
        m_waiting.pop_front();
        lock.unlock();
        const bool found = Found(job.search);
        lock.lock();
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
