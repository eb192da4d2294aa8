#include "FakeAudio.h"

namespace {

class FakeAudioPlayer final : public AudioPlayer
{
public:
    FakeAudioPlayer(QString name, QStringList &log) : m_name(std::move(name)), m_log(log) { }

    void setVolume(float volume) override { record(QStringLiteral("volume %1").arg(volume)); }
    void prepare() override { record(QStringLiteral("prepare")); }
    void setPosition(double seconds) override { record(QStringLiteral("position %1").arg(seconds)); }
    void play() override { record(QStringLiteral("play")); }
    void stop() override { record(QStringLiteral("stop")); }

private:
    void record(const QString &what) { m_log << m_name + QLatin1Char(':') + what; }

    QString m_name;
    QStringList &m_log;
};

} // namespace

std::unique_ptr<AudioPlayer> FakeAudioBackend::createPlayer(const QString &path)
{
    if (broken.contains(path))
        return nullptr;
    return std::make_unique<FakeAudioPlayer>(path, log);
}
