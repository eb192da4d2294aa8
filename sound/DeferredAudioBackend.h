#pragma once

#include "AudioPlayer.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

// Stands in for a backend that is made only when first needed: at startLoading, or when a
// sound is first played. It hands out players at once, remembers what they were told, and
// makes the real players when the real backend arrives. The game's own backend lives in a
// module of its own: Qt Multimedia and the sound server's libraries cost the first frame
// milliseconds to load. A backend that cannot be made leaves every player silent.
class DeferredAudioBackend final : public AudioBackend
{
public:
    using Factory = std::function<std::unique_ptr<AudioBackend>()>;

    // Sounds are looked for in folder, as the real backend will look for them.
    DeferredAudioBackend(Factory factory, QString folder);
    ~DeferredAudioBackend() override;

    QString locate(const QString &name) override;
    std::unique_ptr<AudioPlayer> createPlayer(const QString &path) override;
    void startLoading() override;

    // The real backend, once made; null before, or when it could not be made.
    AudioBackend *backend() const { return m_backend.get(); }

private:
    class Player;

    void makeBackend();

    Factory m_factory;
    QString m_folder;
    bool m_made = false;
    std::unique_ptr<AudioBackend> m_backend;
    // Not owning: a player leaves this list when it goes.
    std::vector<Player *> m_players;
};
