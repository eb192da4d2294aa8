#pragma once

#include "Preferences.h"

#include <QHash>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Hands every write to a writer thread at once, so a keystroke never waits for the disk
// (a synced QSettings write of a long word list takes 15-30 ms here). Writes of one key
// that pile up while the disk is busy collapse into the newest. A write that fails (the
// file's lock held or not a lock at all, a full disk) stays queued and is tried again, less
// often the longer it fails, while the game runs. The file always holds a whole text: at
// worst the keystrokes of the write in flight are lost to a crash.
class BackgroundPreferences final : public Preferences
{
public:
    // make builds the real preferences; it runs on the writer thread, which alone owns
    // them from then on (a QSettings must not be synced from two threads).
    explicit BackgroundPreferences(std::function<std::unique_ptr<Preferences>()> make);
    // Tries what is still queued for half a second at most, so that a lock nobody frees
    // cannot hold up the game's exit.
    ~BackgroundPreferences() override;

    // Reads see every write made before them, stored or still queued.
    std::optional<QString> readText(const QString &key) override;
    // Queues the write; true means queued, not yet stored.
    bool writeText(const QString &key, const QString &value) override;
    // True once everything queued so far is stored; false when that has not happened within
    // timeout (what failed is still being tried).
    bool flush(std::chrono::milliseconds timeout);

private:
    void run();

    std::function<std::unique_ptr<Preferences>()> m_make;
    std::unique_ptr<Preferences> m_inner;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QHash<QString, QString> m_pending;
    bool m_ready = false;
    bool m_writing = false;
    bool m_stopping = false;
    std::thread m_thread;
};
