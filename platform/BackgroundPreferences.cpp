#include "BackgroundPreferences.h"

#include <QLoggingCategory>
#include <optional>

using namespace std::chrono_literals;

namespace {

Q_LOGGING_CATEGORY(lcPreferences, "glimp.preferences", QtWarningMsg)

using Clock = std::chrono::steady_clock;

// A failed write is tried again after firstRetry, then twice as long each time up to
// lastRetry. Once the game quits, every exitRetry until exitGrace has passed.
constexpr auto firstRetry = 100ms;
constexpr auto lastRetry = 10000ms;
constexpr auto exitRetry = 50ms;
constexpr auto exitGrace = 500ms;

} // namespace

BackgroundPreferences::BackgroundPreferences(std::function<std::unique_ptr<Preferences>()> make)
    : m_make(std::move(make))
    , m_thread([this] { run(); })
{
}

BackgroundPreferences::~BackgroundPreferences()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::optional<QString> BackgroundPreferences::readText(const QString &key)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_ready && !m_writing; });
    if (const auto queued = m_pending.constFind(key); queued != m_pending.cend())
        return *queued;
    return m_inner->readText(key);
}

bool BackgroundPreferences::writeText(const QString &key, const QString &value)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending.insert(key, value);
    }
    m_changed.notify_all();
    return true;
}

bool BackgroundPreferences::flush(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout,
                              [this] { return m_ready && m_pending.isEmpty() && !m_writing; });
}

void BackgroundPreferences::run()
{
    std::unique_lock lock(m_mutex);
    m_inner = m_make();
    m_ready = true;
    m_changed.notify_all();
    Clock::time_point retryAt; // after a failure, no write before then
    auto backoff = firstRetry;
    std::optional<Clock::time_point> giveUpAt;
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_pending.isEmpty(); });
        if (m_stopping && !giveUpAt) {
            // The last edits get their go at once.
            giveUpAt = Clock::now() + exitGrace;
            retryAt = {};
        }
        if (m_pending.isEmpty() || (giveUpAt && Clock::now() >= *giveUpAt))
            break;
        if (Clock::now() < retryAt) {
            // New edits join the queue meanwhile; quitting cuts the wait short.
            m_changed.wait_until(lock, retryAt, [&] { return m_stopping && !giveUpAt; });
            continue;
        }
        const QHash<QString, QString> batch = std::exchange(m_pending, {});
        m_writing = true;
        lock.unlock();
        QHash<QString, QString> failed;
        for (auto it = batch.cbegin(); it != batch.cend(); ++it) {
            if (!m_inner->writeText(it.key(), it.value()))
                failed.insert(it.key(), it.value());
        }
        lock.lock();
        m_writing = false;
        // Kept for the next try, unless a newer edit came meanwhile.
        for (auto it = failed.cbegin(); it != failed.cend(); ++it) {
            if (!m_pending.contains(it.key()))
                m_pending.insert(it.key(), it.value());
        }
        if (failed.isEmpty()) {
            backoff = firstRetry;
        } else {
            if (!giveUpAt)
                qCInfo(lcPreferences) << "could not store" << failed.keys() << "- trying again in"
                                      << backoff.count() << "ms";
            retryAt = Clock::now() + (giveUpAt ? exitRetry : backoff);
            backoff = std::min(backoff * 2, lastRetry);
        }
        m_changed.notify_all();
    }
    if (!m_pending.isEmpty())
        qCInfo(lcPreferences) << "quitting with" << m_pending.keys() << "not stored";
    m_inner.reset();
}
