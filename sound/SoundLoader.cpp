#include "SoundLoader.h"

#include "SoundFile.h"

#include <QAbstractEventDispatcher>
#include <QThread>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <unistd.h>
#endif

SoundLoader::SoundLoader(bool held) : m_held(held) { }

SoundLoader::~SoundLoader()
{
    QObject::disconnect(m_idleConnection);
    stop();
}

SoundLoader::Result SoundLoader::load(const QString &path)
{
    std::promise<std::optional<DecodedSound>> promise;
    Result result = promise.get_future().share();
    std::lock_guard lock(m_mutex);
    if (m_stopping) {
        promise.set_value(std::nullopt);
        return result;
    }
    m_queue.push_back({path, std::move(promise)});
    if (!m_held)
        startLocked();
    m_changed.notify_all();
    return result;
}

void SoundLoader::release()
{
    std::lock_guard lock(m_mutex);
    m_held = false;
    if (!m_queue.empty())
        startLocked();
}

void SoundLoader::releaseWhenIdle()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher) {
        release();
        return;
    }
    QObject::disconnect(m_idleConnection);
    m_idleThread = QThread::currentThread();
    m_idleConnection = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock,
                                        dispatcher, [this] { release(); },
                                        Qt::SingleShotConnection);
}

const std::optional<DecodedSound> &SoundLoader::wait(const Result &sound)
{
    if (sound.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        releaseBeforeBlocking();
    return sound.get();
}

void SoundLoader::waitUntilIdle()
{
    releaseBeforeBlocking();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

void SoundLoader::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        if (!m_thread) {
            // Never started: nothing to finish, nobody may wait.
            for (Request &request : m_queue)
                request.promise.set_value(std::nullopt);
            m_queue.clear();
        }
        m_changed.notify_all();
    }
    if (m_thread)
        m_thread->wait();
}

void SoundLoader::releaseBeforeBlocking()
{
    QThread *idleThread = m_idleThread;
    if (!idleThread || idleThread == QThread::currentThread())
        release();
}

void SoundLoader::startLocked()
{
    if (m_thread || m_stopping)
        return;
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->start();
}

void SoundLoader::run()
{
#ifdef Q_OS_LINUX
    // Decoding yields the processor to the main thread drawing the first frames. Nice is
    // per thread on Linux. (Qt's thread priorities do nothing under the normal scheduler.)
    setpriority(PRIO_PROCESS, id_t(gettid()), 10);
#endif
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            break;
        Request request = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        request.promise.set_value(SoundFile::read(request.path));
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
    for (Request &request : m_queue)
        request.promise.set_value(std::nullopt);
    m_queue.clear();
    m_changed.notify_all();
}
