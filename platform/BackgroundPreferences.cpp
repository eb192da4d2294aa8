#include "BackgroundPreferences.h"

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
    m_changed.wait(lock, [this] { return m_ready && m_pending.isEmpty() && !m_writing; });
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

void BackgroundPreferences::flush()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_ready && m_pending.isEmpty() && !m_writing; });
}

void BackgroundPreferences::run()
{
    std::unique_lock lock(m_mutex);
    m_inner = m_make();
    m_ready = true;
    m_changed.notify_all();
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_pending.isEmpty(); });
        if (m_pending.isEmpty()) {
            // Stopping, with nothing left to write.
            m_inner.reset();
            return;
        }
        const QHash<QString, QString> batch = std::exchange(m_pending, {});
        m_writing = true;
        lock.unlock();
        for (auto it = batch.cbegin(); it != batch.cend(); ++it)
            m_inner->writeText(it.key(), it.value());
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}
