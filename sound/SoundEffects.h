#pragma once

#include <QHash>
#include <QStringList>
#include <memory>

class AudioBackend;
class AudioPlayer;
class RandomSource;

// The game's audio cues: a random skip sound, a turn-end sound chosen by the number of
// guessed words, and a random game-end fanfare. At most one skip sound and one long
// sound (turn end or game end) sound at a time; the two kinds never cut each other.
class SoundEffects
{
public:
    // Loads every sound the backend can find, up front, so that playing costs no I/O.
    SoundEffects(AudioBackend &backend, RandomSource &random);
    ~SoundEffects();
    SoundEffects(const SoundEffects &) = delete;
    SoundEffects &operator=(const SoundEffects &) = delete;

    // The single instance of the application, on Qt Multimedia. Its sounds decode only
    // once startSharedLoading is called, or when one of them is first played.
    static SoundEffects &shared();
    static void startSharedLoading();

    void playSkip();
    void playTurnEnd(qint64 guessedCount);
    void playGameEnd();
    void playLong(const QString &name);
    void stopLong();
    void stopAll();

    // Index into turnEndNames: 0, 1, 2, then 3-4, 5-9 and 10 or more.
    static int turnEndIndex(qint64 guessedCount);

    const QStringList skipNames;
    const QStringList gameEndNames;
    const QStringList turnEndNames;

    bool hasPlayer(const QString &name) const { return m_players.contains(name); }

private:
    RandomSource &m_random;
    QHash<QString, std::shared_ptr<AudioPlayer>> m_players;
    // Not owning: the players live in m_players for the life of the process.
    AudioPlayer *m_currentSkipPlayer = nullptr;
    AudioPlayer *m_currentLongPlayer = nullptr;
};
