#include "SoundEffects.h"

#include "AudioPlayer.h"
#include "RandomSource.h"

namespace {

QStringList numbered(const QString &stem, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << stem + QString::number(i);
    return names;
}

} // namespace

SoundEffects::SoundEffects(AudioBackend &backend, RandomSource &random)
    : skipNames(numbered(QStringLiteral("skip_sound"), 5))
    , gameEndNames(numbered(QStringLiteral("game_end"), 3))
    , turnEndNames{QStringLiteral("turn_endscreen_0words_guessed"),
                   QStringLiteral("turn_endscreen_1word_guessed"),
                   QStringLiteral("turn_endscreen_2words_guessed"),
                   QStringLiteral("turn_endscreen_3to4_words_guessed"),
                   QStringLiteral("turn_endscreen_5to9_words_guessed"),
                   QStringLiteral("turn_endscreen_more_than_10_words_guessed")}
    , m_random(random)
{
    backend.configureSession();
    for (const QStringList *list : {&skipNames, &gameEndNames, &turnEndNames}) {
        for (const QString &name : *list) {
            const QString path = backend.locate(name);
            if (path.isEmpty())
                continue;
            std::unique_ptr<AudioPlayer> player = backend.createPlayer(path);
            if (!player)
                continue;
            player->setVolume(1.0f);
            player->prepare();
            m_players.insert(name, std::move(player));
        }
    }
}

SoundEffects::~SoundEffects() = default;

int SoundEffects::turnEndIndex(qint64 guessedCount)
{
    if (guessedCount <= 2)
        return int(qMax<qint64>(guessedCount, 0));
    if (guessedCount <= 4)
        return 3;
    if (guessedCount <= 9)
        return 4;
    return 5;
}

void SoundEffects::playSkip()
{
    if (skipNames.isEmpty())
        return;
    const QString &name = skipNames.at(int(m_random.bounded(quint64(skipNames.size()))));
    AudioPlayer *player = m_players.value(name).get();
    if (!player)
        return;
    if (m_currentSkipPlayer)
        m_currentSkipPlayer->stop();
    player->setPosition(0);
    player->play();
    m_currentSkipPlayer = player;
}

void SoundEffects::playTurnEnd(qint64 guessedCount)
{
    playLong(turnEndNames.at(turnEndIndex(guessedCount)));
}

void SoundEffects::playGameEnd()
{
    if (gameEndNames.isEmpty())
        return;
    playLong(gameEndNames.at(int(m_random.bounded(quint64(gameEndNames.size())))));
}

void SoundEffects::playLong(const QString &name)
{
    AudioPlayer *player = m_players.value(name).get();
    if (!player)
        return;
    stopLong();
    player->setPosition(0);
    player->play();
    m_currentLongPlayer = player;
}

void SoundEffects::stopLong()
{
    if (m_currentLongPlayer)
        m_currentLongPlayer->stop();
    m_currentLongPlayer = nullptr;
}

void SoundEffects::stopAll()
{
    if (m_currentSkipPlayer)
        m_currentSkipPlayer->stop();
    m_currentSkipPlayer = nullptr;
    stopLong();
}
