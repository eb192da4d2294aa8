#pragma once

#include "GameTypes.h"

#include <QLoggingCategory>
#include <QObject>
#include <QSet>
#include <QVariant>
#include <memory>
#include <optional>

class Clock;
class Haptics;
class IdleInhibitor;
class Preferences;
class RandomSource;
class SoundEffects;
class TurnCountdown;

Q_DECLARE_LOGGING_CATEGORY(lcGame)

// The whole state of the game and every rule of it. Screens read its properties and
// change the game only through its operations and setters. Every assignment to a
// published field emits that field's signal, also when the value is unchanged.
class GameStore : public QObject
{
    Q_OBJECT

    Q_PROPERTY(AppScreen screen READ screen WRITE setScreen NOTIFY screenChanged)
    // The screen by case name ("observerWheel"), for QML, where enum cases must be
    // capitalised.
    Q_PROPERTY(QString screenName READ screenNameText WRITE setScreenName NOTIFY screenChanged)
    Q_PROPERTY(GameSettings settings READ settings WRITE setSettings NOTIFY settingsChanged)
    Q_PROPERTY(QVariantList teams READ teamsVariant NOTIFY teamsChanged)
    Q_PROPERTY(QString customWordsText READ customWordsText WRITE setCustomWordsText NOTIFY
                   customWordsTextChanged)
    Q_PROPERTY(qint64 currentTeamIndex READ currentTeamIndex NOTIFY currentTeamIndexChanged)
    Q_PROPERTY(qint64 currentPlayerIndex READ currentPlayerIndex NOTIFY currentPlayerIndexChanged)
    Q_PROPERTY(QString currentWord READ currentWord NOTIFY currentWordChanged)
    Q_PROPERTY(bool currentWordIsCustom READ currentWordIsCustom NOTIFY currentWordIsCustomChanged)
    Q_PROPERTY(qint64 guessedCount READ guessedCount NOTIFY guessedCountChanged)
    Q_PROPERTY(qint64 skippedCount READ skippedCount NOTIFY skippedCountChanged)
    Q_PROPERTY(qint64 remainingTime READ remainingTime NOTIFY remainingTimeChanged)
    Q_PROPERTY(QVariantList roundWords READ roundWordsVariant NOTIFY roundWordsChanged)
    // A Team, or null while nobody has won.
    Q_PROPERTY(QVariant winner READ winnerVariant NOTIFY winnerChanged)
    // The observer's name, or null.
    Q_PROPERTY(QVariant observer READ observerVariant NOTIFY observerChanged)
    Q_PROPERTY(QStringList observerCandidates READ observerCandidates NOTIFY
                   observerCandidatesChanged)

    Q_PROPERTY(QString currentPlayerName READ currentPlayerName NOTIFY currentPlayerNameChanged)
    Q_PROPERTY(QString currentTeamName READ currentTeamName NOTIFY currentTeamNameChanged)
    Q_PROPERTY(QString timeText READ timeText NOTIFY remainingTimeChanged)
    Q_PROPERTY(qint64 customWordCount READ customWordCount NOTIFY customWordsTextChanged)
    // Counts the turns started; a swipe tagged with an older number is stale.
    Q_PROPERTY(qint64 turnNumber READ turnNumber NOTIFY turnNumberChanged)
    // At least two names: teams can be formed.
    Q_PROPERTY(bool canFormTeams READ canFormTeams NOTIFY settingsChanged)
    // An odd list of three or more names leaves one player out to watch.
    Q_PROPERTY(bool leavesObserver READ leavesObserver NOTIFY settingsChanged)
    // The target as the words-to-win field shows it: the locale's digits, no grouping, and
    // read back by setWordsToWinText to the same number.
    Q_PROPERTY(QString wordsToWinText READ wordsToWinText NOTIFY settingsChanged)

public:
    static constexpr auto customWordsKey = "tarvuke.glimp.customWords";
    // A day: the clock and every sum of bonus seconds stay far inside 64 bits.
    static constexpr qint64 maxRoundDuration = 24 * 60 * 60;

    GameStore(Preferences &preferences, SoundEffects &sound, Haptics &haptics, Clock &clock,
              RandomSource &random, QObject *parent = nullptr);
    ~GameStore() override;

    // A store that holds the published fields as they were when the operation now running
    // began (or as they are, outside one), but the screen as it is now; owned by owner and
    // never changing: a screen that is leaving keeps showing what it showed.
    Q_INVOKABLE GameStore *frozenCopy(QObject *owner) const;

    // The services, for the views' own staging (the observer reveal).
    Clock &clock() const { return m_clock; }
    Haptics &haptics() const { return m_haptics; }

    // Optional: kept holding from the start of a turn until it ends or the game is left.
    void setIdleInhibitor(IdleInhibitor *inhibitor) { m_idleInhibitor = inhibitor; }

    // Published fields.
    AppScreen screen() const { return m_screen; }
    void setScreen(AppScreen screen);
    QString screenNameText() const { return screenName(m_screen); }
    void setScreenName(const QString &name);
    const GameSettings &settings() const { return m_settings; }
    void setSettings(const GameSettings &settings);
    const QList<Team> &teams() const { return m_teams; }
    QVariantList teamsVariant() const;
    const QString &customWordsText() const { return m_customWordsText; }
    void setCustomWordsText(const QString &text);
    qint64 currentTeamIndex() const { return m_currentTeamIndex; }
    qint64 currentPlayerIndex() const { return m_currentPlayerIndex; }
    const QString &currentWord() const { return m_currentWord; }
    bool currentWordIsCustom() const { return m_currentWordIsCustom; }
    qint64 guessedCount() const { return m_guessedCount; }
    qint64 skippedCount() const { return m_skippedCount; }
    qint64 remainingTime() const { return m_remainingTime; }
    const QList<RoundWord> &roundWords() const { return m_roundWords; }
    QVariantList roundWordsVariant() const;
    const std::optional<Team> &winner() const { return m_winner; }
    QVariant winnerVariant() const;
    const std::optional<QString> &observer() const { return m_observer; }
    QVariant observerVariant() const;
    const QStringList &observerCandidates() const { return m_observerCandidates; }

    // Derived values.
    QString currentPlayerName() const;
    QString currentTeamName() const;
    QString timeText() const;
    qint64 customWordCount() const;
    qint64 turnNumber() const { return m_turnNumber; }
    bool canFormTeams() const;
    bool leavesObserver() const;
    QString wordsToWinText() const;

    // Private state, readable for tests and diagnostics.
    const QStringList &regularDeck() const { return m_regularDeck; }
    const QStringList &customDeck() const { return m_customDeck; }
    const QSet<QString> &usedWordKeys() const { return m_usedWordKeys; }
    bool hasTimerTask() const { return bool(m_timerTask); }
    bool isEndingRound() const { return m_isEndingRound; }
    const QStringList &pendingPlayers() const { return m_pendingPlayers; }
    bool pendingRandomFormation() const { return m_pendingRandomFormation; }

    // Settings, one field at a time (each emits settingsChanged).
    Q_INVOKABLE void setPlayerText(const QString &text);
    Q_INVOKABLE void setDifficulty(const QString &raw);
    Q_INVOKABLE void setUsesCustomWords(bool on);
    // Clamped to 1 second .. maxRoundDuration.
    Q_INVOKABLE void setRoundDuration(qint64 seconds);
    // Values below 1 become 1.
    Q_INVOKABLE void setWordsToWin(qint64 words);
    // Parses digits as typed (any script's decimal digits, surrounding spaces allowed) and
    // stores the number, clamped to at least 1. Text that does not parse, or a number too
    // large for 64 bits, changes nothing and returns false.
    Q_INVOKABLE bool setWordsToWinText(const QString &text);
    Q_INVOKABLE void setBonusTime(int seconds);
    // Renames the team at index, as typed; empty and duplicate names are fine.
    Q_INVOKABLE void setTeamName(int index, const QString &name);

    // Labels of the setup screen's choices.
    Q_INVOKABLE static QStringList difficultyLabels();
    Q_INVOKABLE static QList<int> bonusTimeValues();
    Q_INVOKABLE static QString bonusTimeLabel(int seconds);
    Q_INVOKABLE static QList<int> roundDurationValues();
    Q_INVOKABLE static QString roundDurationLabel(qint64 seconds);

    // Screen flow.
    Q_INVOKABLE void startNewGame();
    Q_INVOKABLE void goHome();
    Q_INVOKABLE void openFormation();
    Q_INVOKABLE void replay();

    // Players and teams.
    Q_INVOKABLE void formTeams(bool random);
    void makeTeams(const QStringList &players, bool random);
    Q_INVOKABLE void cancelObserver();
    Q_INVOKABLE void confirmObserver();

    // Words.
    QStringList customWordList() const;
    void saveCustomWords();
    void prepareDecks();
    std::optional<std::pair<QString, bool>> drawWord();
    bool nextWord();

    // Turn play.
    Q_INVOKABLE void startTurn();
    Q_INVOKABLE void handleSwipe(double dx);
    // A swipe that was thrown during turn number turn; ignored once that turn is over,
    // even when a later turn is already running.
    Q_INVOKABLE void handleSwipeInTurn(double dx, qint64 turn);
    Q_INVOKABLE void markGuessed();
    Q_INVOKABLE void markSkipped();
    Q_INVOKABLE void endTurn(bool reachedTarget);
    Q_INVOKABLE void continueAfterSummary();
    void advanceTurn();

signals:
    void screenChanged();
    void settingsChanged();
    void teamsChanged();
    void customWordsTextChanged();
    void currentTeamIndexChanged();
    void currentPlayerIndexChanged();
    void currentWordChanged();
    void currentWordIsCustomChanged();
    void guessedCountChanged();
    void skippedCountChanged();
    void remainingTimeChanged();
    void roundWordsChanged();
    void winnerChanged();
    void observerChanged();
    void observerCandidatesChanged();
    void currentPlayerNameChanged();
    void currentTeamNameChanged();
    void turnNumberChanged();

private:
    friend class TurnCountdown;

    // The published fields, copied (implicitly shared) for a frozen copy.
    struct Published
    {
        AppScreen screen;
        GameSettings settings;
        QList<Team> teams;
        QString customWordsText;
        qint64 currentTeamIndex;
        qint64 currentPlayerIndex;
        QString currentWord;
        bool currentWordIsCustom;
        qint64 guessedCount;
        qint64 skippedCount;
        qint64 remainingTime;
        QList<RoundWord> roundWords;
        std::optional<Team> winner;
        std::optional<QString> observer;
        QStringList observerCandidates;
        qint64 turnNumber;
    };
    // Held from the start of an operation that may change the screen to its end.
    class BeforeChange
    {
    public:
        explicit BeforeChange(GameStore &store);
        ~BeforeChange();

    private:
        GameStore &m_store;
        bool m_outermost;
    };
    GameStore(const GameStore &source, const Published &fields, QObject *parent);
    Published published() const;

    void countdownTick();
    void cancelTimerTask();
    void releaseIdle();
    void shuffle(QStringList &list);

    void setTeams(const QList<Team> &teams);
    void setCurrentTeamIndex(qint64 index);
    void setCurrentPlayerIndex(qint64 index);
    void setCurrentWord(const QString &word);
    void setCurrentWordIsCustom(bool custom);
    void setGuessedCount(qint64 count);
    void setSkippedCount(qint64 count);
    void setRemainingTime(qint64 seconds);
    void setRoundWords(const QList<RoundWord> &words);
    void setWinner(const std::optional<Team> &team);
    void setObserver(const std::optional<QString> &name);
    void setObserverCandidates(const QStringList &names);
    void appendRoundWord(bool guessed);

    Preferences &m_preferences;
    SoundEffects &m_sound;
    Haptics &m_haptics;
    Clock &m_clock;
    RandomSource &m_random;
    IdleInhibitor *m_idleInhibitor = nullptr;

    AppScreen m_screen = AppScreen::home;
    GameSettings m_settings;
    QList<Team> m_teams;
    QString m_customWordsText;
    qint64 m_currentTeamIndex = 0;
    qint64 m_currentPlayerIndex = 0;
    QString m_currentWord;
    bool m_currentWordIsCustom = false;
    qint64 m_guessedCount = 0;
    qint64 m_skippedCount = 0;
    qint64 m_remainingTime = 0;
    QList<RoundWord> m_roundWords;
    std::optional<Team> m_winner;
    std::optional<QString> m_observer;
    QStringList m_observerCandidates;

    QStringList m_regularDeck;
    QStringList m_customDeck;
    // The custom words without repeated keys, kept until the text changes: a long list
    // is not split and folded again at every turn start.
    std::optional<QStringList> m_distinctCustomWords;
    QSet<QString> m_usedWordKeys;
    std::shared_ptr<TurnCountdown> m_timerTask;
    bool m_isEndingRound = false;
    QStringList m_pendingPlayers;
    bool m_pendingRandomFormation = false;

    qint64 m_turnNumber = 0;
    std::optional<Published> m_beforeChange;
};
