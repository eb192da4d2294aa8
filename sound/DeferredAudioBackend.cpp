#include "DeferredAudioBackend.h"

#include <algorithm>
#include <optional>

class DeferredAudioBackend::Player final : public AudioPlayer
{
public:
    Player(DeferredAudioBackend &owner, QString path)
        : m_owner(owner), m_path(std::move(path))
    {
        m_owner.m_players.push_back(this);
    }

    ~Player() override { std::erase(m_owner.m_players, this); }

    // Made by the real backend: it hears everything it missed.
    void become(std::unique_ptr<AudioPlayer> player)
    {
        m_player = std::move(player);
        if (!m_player)
            return;
        if (m_volume)
            m_player->setVolume(*m_volume);
        if (m_prepared)
            m_player->prepare();
        if (m_position)
            m_player->setPosition(*m_position);
    }

    const QString &path() const { return m_path; }

    void setVolume(float volume) override
    {
        m_volume = volume;
        if (m_player)
            m_player->setVolume(volume);
    }

    void prepare() override
    {
        m_prepared = true;
        if (m_player)
            m_player->prepare();
    }

    void setPosition(double seconds) override
    {
        m_position = seconds;
        if (m_player)
            m_player->setPosition(seconds);
    }

    void play() override
    {
        m_owner.makeBackend();
        if (m_player)
            m_player->play();
    }

    void stop() override
    {
        if (m_player)
            m_player->stop();
    }

private:
    DeferredAudioBackend &m_owner;
    const QString m_path;
    std::unique_ptr<AudioPlayer> m_player;
    std::optional<float> m_volume;
    std::optional<double> m_position;
    bool m_prepared = false;
};

DeferredAudioBackend::DeferredAudioBackend(Factory factory, QString folder)
    : m_factory(std::move(factory)), m_folder(std::move(folder))
{
}

DeferredAudioBackend::~DeferredAudioBackend() = default;

QString DeferredAudioBackend::locate(const QString &name)
{
    return soundFile(m_folder, name);
}

std::unique_ptr<AudioPlayer> DeferredAudioBackend::createPlayer(const QString &path)
{
    auto player = std::make_unique<Player>(*this, path);
    if (m_backend)
        player->become(m_backend->createPlayer(path));
    return player;
}

void DeferredAudioBackend::startLoading()
{
    makeBackend();
    if (m_backend)
        m_backend->startLoading();
}

void DeferredAudioBackend::makeBackend()
{
    if (m_made)
        return;
    m_made = true;
    m_backend = m_factory();
    if (!m_backend)
        return;
    m_backend->configureSession();
    for (Player *player : m_players)
        player->become(m_backend->createPlayer(player->path()));
}
