#pragma once

#include "DecodedSound.h"

#include <QMetaObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>

class QThread;

// Decodes sound files one after another on a thread of its own, so that the window can
// show while the sounds load. Each request yields a future that always resolves: to the
// decoded sound, or to nothing when the file cannot be decoded or the loader stops first.
// A held loader only collects requests until it is released.
class SoundLoader
{
public:
    using Result = std::shared_future<std::optional<DecodedSound>>;

    explicit SoundLoader(bool held = false);
    ~SoundLoader();
    SoundLoader(const SoundLoader &) = delete;
    SoundLoader &operator=(const SoundLoader &) = delete;

    Result load(const QString &path);
    // Starts decoding what has been asked for, if it has not started yet.
    void release();
    // Releases the loader when this thread's event loop is first about to wait.
    void releaseWhenIdle();
    // Waits for the sound. A wait on the thread whose idle moment would release the loader
    // (or on any thread, if none would) releases it first: blocking there would wait forever.
    const std::optional<DecodedSound> &wait(const Result &sound);
    // Blocks until every request made so far has resolved; releases the loader as wait does.
    void waitUntilIdle();
    // Finishes the file in hand, resolves the rest to nothing and ends the thread.
    void stop();

private:
    struct Request
    {
        QString path;
        std::promise<std::optional<DecodedSound>> promise;
    };

    void run();
    void startLocked();
    void releaseBeforeBlocking();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Request> m_queue;
    bool m_held;
    bool m_busy = false;
    bool m_stopping = false;
    std::unique_ptr<QThread> m_thread;
    QMetaObject::Connection m_idleConnection;
    std::atomic<QThread *> m_idleThread = nullptr;
};
