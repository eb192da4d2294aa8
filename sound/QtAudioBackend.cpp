#include "QtAudioBackend.h"

#include <QAudioOutput>
#include <QFile>
#include <QMediaPlayer>
#include <QUrl>

namespace {

class QtAudioPlayer final : public AudioPlayer
{
public:
    explicit QtAudioPlayer(const QString &path)
    {
        m_player.setAudioOutput(&m_output);
        m_player.setSource(QUrl(QStringLiteral("qrc") + path));
    }

    void setVolume(float volume) override { m_output.setVolume(volume); }
    void prepare() override { }
    void setPosition(double seconds) override { m_player.setPosition(qint64(seconds * 1000)); }
    void play() override { m_player.play(); }
    void stop() override { m_player.stop(); }

private:
    QAudioOutput m_output;
    QMediaPlayer m_player;
};

} // namespace

QString QtAudioBackend::locate(const QString &name)
{
    const QString path = QStringLiteral(":/Sounds/%1.m4a").arg(name);
    return QFile::exists(path) ? path : QString();
}

std::unique_ptr<AudioPlayer> QtAudioBackend::createPlayer(const QString &path)
{
    return std::make_unique<QtAudioPlayer>(path);
}
