#include "GameStore.h"

#include "BuiltInWords.h"
#include "Clock.h"
#include "Haptics.h"
#include "IdleInhibitor.h"
#include "Preferences.h"
#include "RandomSource.h"
#include "SoundEffects.h"
#include "TurnCountdown.h"
#include "WordRules.h"

#include <QLocale>

// Screen changes and store events, off unless QT_LOGGING_RULES="glimp.game.info=true".
Q_LOGGING_CATEGORY(lcGame, "glimp.game", QtWarningMsg)

GameStore::GameStore(Preferences &preferences, SoundEffects &sound, Haptics &haptics,
                     Clock &clock, RandomSource &random, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_sound(sound)
    , m_haptics(haptics)
    , m_clock(clock)
    , m_random(random)
{
    // Loading the stored text does not write it back.
    m_customWordsText = m_preferences.readText(QString::fromLatin1(customWordsKey)).value_or(QString());
    qCInfo(lcGame) << "custom words loaded" << customWordCount();

    connect(this, &GameStore::teamsChanged, this, &GameStore::currentPlayerNameChanged);
    connect(this, &GameStore::currentTeamIndexChanged, this, &GameStore::currentPlayerNameChanged);
    connect(this, &GameStore::currentPlayerIndexChanged, this, &GameStore::currentPlayerNameChanged);
    connect(this, &GameStore::teamsChanged, this, &GameStore::currentTeamNameChanged);
    connect(this, &GameStore::currentTeamIndexChanged, this, &GameStore::currentTeamNameChanged);
}

GameStore::GameStore(const GameStore &source, const Published &fields, QObject *parent)
    : QObject(parent)
    , m_preferences(source.m_preferences)
    , m_sound(source.m_sound)
    , m_haptics(source.m_haptics)
    , m_clock(source.m_clock)
    , m_random(source.m_random)
    , m_screen(fields.screen)
    , m_settings(fields.settings)
    , m_teams(fields.teams)
    , m_customWordsText(fields.customWordsText)
    , m_currentTeamIndex(fields.currentTeamIndex)
    , m_currentPlayerIndex(fields.currentPlayerIndex)
    , m_currentWord(fields.currentWord)
    , m_currentWordIsCustom(fields.currentWordIsCustom)
    , m_guessedCount(fields.guessedCount)
    , m_skippedCount(fields.skippedCount)
    , m_remainingTime(fields.remainingTime)
    , m_roundWords(fields.roundWords)
    , m_winner(fields.winner)
    , m_observer(fields.observer)
    , m_observerCandidates(fields.observerCandidates)
    , m_turnNumber(fields.turnNumber)
{
}

GameStore::Published GameStore::published() const
{
    return {m_screen, m_settings, m_teams, m_customWordsText, m_currentTeamIndex,
            m_currentPlayerIndex, m_currentWord, m_currentWordIsCustom, m_guessedCount,
            m_skippedCount, m_remainingTime, m_roundWords, m_winner, m_observer,
            m_observerCandidates, m_turnNumber};
}

GameStore *GameStore::frozenCopy(QObject *owner) const
{
    Published fields = m_beforeChange.value_or(published());
    // The screen is the one moved to, so that the screen that left knows it has.
    fields.screen = m_screen;
    return new GameStore(*this, fields, owner);
}

GameStore::BeforeChange::BeforeChange(GameStore &store)
    : m_store(store)
    , m_outermost(!store.m_beforeChange)
{
    if (m_outermost)
        store.m_beforeChange = store.published();
}

GameStore::BeforeChange::~BeforeChange()
{
    if (m_outermost)
        m_store.m_beforeChange.reset();
}

GameStore::~GameStore()
{
    cancelTimerTask();
    releaseIdle();
}

void GameStore::releaseIdle()
{
    if (m_idleInhibitor)
        m_idleInhibitor->release();
}

// ---- published fields -------------------------------------------------------------

void GameStore::setScreen(AppScreen screen)
{
    const BeforeChange before(*this);
    m_screen = screen;
    qCInfo(lcGame).noquote() << "screen" << screenName(screen);
    emit screenChanged();
}

void GameStore::setScreenName(const QString &name)
{
    if (const auto screen = screenFromName(name))
        setScreen(*screen);
}

void GameStore::setSettings(const GameSettings &settings)
{
    m_settings = settings;
    // A game to zero words could never be won by reaching the target exactly.
    m_settings.wordsToWin = qMax<qint64>(m_settings.wordsToWin, 1);
    m_settings.roundDuration = qBound<qint64>(1, m_settings.roundDuration, maxRoundDuration);
    emit settingsChanged();
}

QVariantList GameStore::teamsVariant() const
{
    QVariantList list;
    list.reserve(m_teams.size());
    for (const Team &team : m_teams)
        list.append(QVariant::fromValue(team));
    return list;
}

void GameStore::setCustomWordsText(const QString &text)
{
    m_customWordsText = text;
    m_distinctCustomWords.reset();
    emit customWordsTextChanged();
    saveCustomWords();
}

QVariantList GameStore::roundWordsVariant() const
{
    QVariantList list;
    list.reserve(m_roundWords.size());
    for (const RoundWord &word : m_roundWords)
        list.append(QVariant::fromValue(word));
    return list;
}

QVariant GameStore::winnerVariant() const
{
    return m_winner ? QVariant::fromValue(*m_winner) : QVariant();
}

QVariant GameStore::observerVariant() const
{
    return m_observer ? QVariant(*m_observer) : QVariant();
}

void GameStore::setTeams(const QList<Team> &teams)
{
    m_teams = teams;
    emit teamsChanged();
}

void GameStore::setCurrentTeamIndex(qint64 index)
{
    m_currentTeamIndex = index;
    emit currentTeamIndexChanged();
}

void GameStore::setCurrentPlayerIndex(qint64 index)
{
    m_currentPlayerIndex = index;
    emit currentPlayerIndexChanged();
}

void GameStore::setCurrentWord(const QString &word)
{
    m_currentWord = word;
    emit currentWordChanged();
}

void GameStore::setCurrentWordIsCustom(bool custom)
{
    m_currentWordIsCustom = custom;
    emit currentWordIsCustomChanged();
}

void GameStore::setGuessedCount(qint64 count)
{
    m_guessedCount = count;
    emit guessedCountChanged();
}

void GameStore::setSkippedCount(qint64 count)
{
    m_skippedCount = count;
    emit skippedCountChanged();
}

void GameStore::setRemainingTime(qint64 seconds)
{
    m_remainingTime = seconds;
    emit remainingTimeChanged();
}

void GameStore::setRoundWords(const QList<RoundWord> &words)
{
    m_roundWords = words;
    emit roundWordsChanged();
}

void GameStore::setWinner(const std::optional<Team> &team)
{
    m_winner = team;
    emit winnerChanged();
}

void GameStore::setObserver(const std::optional<QString> &name)
{
    m_observer = name;
    emit observerChanged();
}

void GameStore::setObserverCandidates(const QStringList &names)
{
    m_observerCandidates = names;
    emit observerCandidatesChanged();
}

// ---- derived values ---------------------------------------------------------------

QString GameStore::currentPlayerName() const
{
    if (m_currentTeamIndex < 0 || m_currentTeamIndex >= m_teams.size())
        return {};
    const QStringList &players = m_teams.at(m_currentTeamIndex).players;
    if (m_currentPlayerIndex < 0 || m_currentPlayerIndex >= players.size())
        return {};
    return players.at(m_currentPlayerIndex);
}

QString GameStore::currentTeamName() const
{
    if (m_currentTeamIndex < 0 || m_currentTeamIndex >= m_teams.size())
        return {};
    return m_teams.at(m_currentTeamIndex).name;
}

QString GameStore::timeText() const
{
    const qint64 seconds = qMax<qint64>(m_remainingTime, 0);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

qint64 GameStore::customWordCount() const
{
    return countWordLines(m_customWordsText);
}

bool GameStore::canFormTeams() const
{
    return m_settings.playerNames().size() >= 2;
}

bool GameStore::leavesObserver() const
{
    const qsizetype count = m_settings.playerNames().size();
    return count >= 3 && count % 2 == 1;
}

QString GameStore::wordsToWinText() const
{
    QLocale locale;
    // A group separator would be refused by the field it is shown in.
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(m_settings.wordsToWin);
}

// ---- settings ---------------------------------------------------------------------

void GameStore::setPlayerText(const QString &text)
{
    m_settings.playerText = text;
    emit settingsChanged();
}

void GameStore::setDifficulty(const QString &raw)
{
    m_settings.setDifficultyText(raw);
    emit settingsChanged();
}

void GameStore::setUsesCustomWords(bool on)
{
    m_settings.usesCustomWords = on;
    emit settingsChanged();
}

void GameStore::setRoundDuration(qint64 seconds)
{
    m_settings.roundDuration = qBound<qint64>(1, seconds, maxRoundDuration);
    emit settingsChanged();
}

void GameStore::setWordsToWin(qint64 words)
{
    m_settings.wordsToWin = qMax<qint64>(words, 1);
    emit settingsChanged();
}

bool GameStore::setWordsToWinText(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    qint64 value = QLocale().toLongLong(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toLongLong(trimmed, &ok);
    if (!ok)
        return false;
    setWordsToWin(value);
    return true;
}

void GameStore::setBonusTime(int seconds)
{
    m_settings.setBonusSeconds(seconds);
    emit settingsChanged();
}

void GameStore::setTeamName(int index, const QString &name)
{
    if (index < 0 || index >= m_teams.size())
        return;
    m_teams[index].name = name;
    qCInfo(lcGame).noquote() << "team" << index + 1 << "named" << name;
    emit teamsChanged();
}

QStringList GameStore::difficultyLabels()
{
    QStringList labels;
    for (Difficulty d : allDifficulties())
        labels << rawValue(d);
    return labels;
}

QList<int> GameStore::bonusTimeValues()
{
    QList<int> values;
    for (BonusTime b : allBonusTimes())
        values << rawValue(b);
    return values;
}

QString GameStore::bonusTimeLabel(int seconds)
{
    return ::bonusTimeLabel(bonusTimeFromRaw(seconds).value_or(BonusTime::off));
}

QList<int> GameStore::roundDurationValues()
{
    return {10, 30, 60, 90, 120};
}

QString GameStore::roundDurationLabel(qint64 seconds)
{
    switch (seconds) {
    case 10:
        return QStringLiteral("10 с");
    case 30:
        return QStringLiteral("30 с");
    case 60:
        return QStringLiteral("1 м");
    case 90:
        return QStringLiteral("1:30");
    default:
        return QStringLiteral("2 м");
    }
}

// ---- screen flow ------------------------------------------------------------------

void GameStore::startNewGame()
{
    const BeforeChange before(*this);
    m_sound.stopAll();
    setScreen(AppScreen::setup);
}

void GameStore::cancelTimerTask()
{
    if (m_timerTask)
        m_timerTask->cancel();
    m_timerTask.reset();
}

void GameStore::goHome()
{
    const BeforeChange before(*this);
    cancelTimerTask();
    releaseIdle();
    m_isEndingRound = false;
    m_sound.stopAll();
    setScreen(AppScreen::home);
}

void GameStore::openFormation()
{
    const BeforeChange before(*this);
    if (!canFormTeams())
        return;
    qCInfo(lcGame).noquote() << "players" << m_settings.playerNames().join(QStringLiteral(", "));
    qCInfo(lcGame).noquote() << "rules" << rawValue(m_settings.difficulty) << "turn"
                             << m_settings.roundDuration << "target" << m_settings.wordsToWin
                             << "bonus" << rawValue(m_settings.bonusTime) << "own words"
                             << (m_settings.usesCustomWords ? "on" : "off");
    setScreen(AppScreen::formation);
}

void GameStore::replay()
{
    const BeforeChange before(*this);
    cancelTimerTask();
    releaseIdle();
    m_sound.stopAll();
    setWinner(std::nullopt);
    setObserver(std::nullopt);
    setGuessedCount(0);
    setSkippedCount(0);
    setRoundWords({});
    setRemainingTime(0);
    m_isEndingRound = false;
    setScreen(AppScreen::setup);
}

// ---- players and teams ------------------------------------------------------------

void GameStore::shuffle(QStringList &list)
{
    // Fisher-Yates: every permutation equally likely.
    for (qsizetype i = 0; i + 1 < list.size(); ++i) {
        const qsizetype j = i + qsizetype(m_random.bounded(quint64(list.size() - i)));
        list.swapItemsAt(i, j);
    }
}

void GameStore::formTeams(bool random)
{
    const BeforeChange before(*this);
    QStringList names = m_settings.playerNames();
    if (names.size() < 2)
        return;
    setObserver(std::nullopt);
    setObserverCandidates({});
    if (names.size() % 2 == 0) {
        makeTeams(names, random);
        return;
    }
    setObserverCandidates(names);
    const qsizetype position = qsizetype(m_random.bounded(quint64(names.size())));
    const QString observer = names.takeAt(position);
    setObserver(observer);
    m_pendingPlayers = names;
    m_pendingRandomFormation = random;
    qCInfo(lcGame).noquote() << "observer" << observer;
    setScreen(AppScreen::observerWheel);
}

void GameStore::cancelObserver()
{
    const BeforeChange before(*this);
    setObserver(std::nullopt);
    setObserverCandidates({});
    m_pendingPlayers.clear();
    setScreen(AppScreen::formation);
}

void GameStore::confirmObserver()
{
    const BeforeChange before(*this);
    if (!m_observer || m_pendingPlayers.isEmpty())
        return;
    makeTeams(m_pendingPlayers, m_pendingRandomFormation);
    m_pendingPlayers.clear();
    setObserverCandidates({});
}

void GameStore::makeTeams(const QStringList &players, bool random)
{
    QStringList earlierNames;
    for (const Team &team : std::as_const(m_teams))
        earlierNames << team.name;

    QStringList order = players;
    if (random)
        shuffle(order);

    QList<Team> teams;
    for (qsizetype k = 1; 2 * k <= order.size(); ++k) {
        Team team;
        team.players = {order.at(2 * k - 2), order.at(2 * k - 1)};
        team.name = k <= earlierNames.size() ? earlierNames.at(k - 1)
                                             : QStringLiteral("Команда %1").arg(k);
        teams << team;
    }
    setTeams(teams);
    setCurrentTeamIndex(0);
    setCurrentPlayerIndex(0);
    qCInfo(lcGame) << "teams" << teams.size();
    setScreen(AppScreen::teams);
}

// ---- words ------------------------------------------------------------------------

QStringList GameStore::customWordList() const
{
    return splitWordLines(m_customWordsText);
}

void GameStore::saveCustomWords()
{
    // A failed write is not the players' problem: the text stays in memory. Stored or only
    // queued, the store cannot tell.
    const bool handedOver =
            m_preferences.writeText(QString::fromLatin1(customWordsKey), m_customWordsText);
    qCInfo(lcGame) << (handedOver ? "custom words handed over" : "custom words not stored")
                   << customWordCount();
}

namespace {

// The words of list whose keys are new, first of each key wins.
QStringList withoutRepeatedKeys(const QStringList &list)
{
    QSet<QString> keys;
    keys.reserve(list.size());
    QStringList kept;
    kept.reserve(list.size());
    for (const QString &word : list) {
        const QString key = wordKey(word);
        if (keys.contains(key))
            continue;
        keys.insert(key);
        kept << word;
    }
    return kept;
}

} // namespace

void GameStore::prepareDecks()
{
    m_usedWordKeys.clear();
    static const QHash<Difficulty, QStringList> distinctBuiltIn = [] {
        QHash<Difficulty, QStringList> lists;
        for (Difficulty d : allDifficulties())
            lists.insert(d, withoutRepeatedKeys(builtInWords(d)));
        return lists;
    }();
    m_regularDeck = distinctBuiltIn.value(m_settings.difficulty);
    shuffle(m_regularDeck);
    if (m_settings.usesCustomWords) {
        if (!m_distinctCustomWords)
            m_distinctCustomWords = withoutRepeatedKeys(customWordList());
        m_customDeck = *m_distinctCustomWords;
        shuffle(m_customDeck);
    } else {
        m_customDeck.clear();
    }
}

std::optional<std::pair<QString, bool>> GameStore::drawWord()
{
    const auto takeNew = [this](QStringList &deck) -> std::optional<QString> {
        while (!deck.isEmpty()) {
            QString word = deck.takeLast();
            const QString key = wordKey(word);
            if (m_usedWordKeys.contains(key))
                continue;
            m_usedWordKeys.insert(key);
            return word;
        }
        return std::nullopt;
    };

    if (m_settings.usesCustomWords && !m_customDeck.isEmpty() && m_random.bounded(100) <= 4) {
        if (auto word = takeNew(m_customDeck))
            return std::pair{*word, true};
    }
    if (auto word = takeNew(m_regularDeck))
        return std::pair{*word, false};
    return std::nullopt;
}

bool GameStore::nextWord()
{
    const auto drawn = drawWord();
    if (!drawn) {
        endTurn(false);
        return false;
    }
    setCurrentWord(drawn->first);
    setCurrentWordIsCustom(drawn->second);
    qCInfo(lcGame).noquote() << (drawn->second ? "own word" : "word") << drawn->first;
    return true;
}

// ---- turn play --------------------------------------------------------------------

void GameStore::startTurn()
{
    // A second tap, or a late one, must not reset a turn that is running.
    if (m_screen != AppScreen::ready)
        return;
    const BeforeChange before(*this);
    m_sound.stopLong();
    m_isEndingRound = false;
    setGuessedCount(0);
    setSkippedCount(0);
    setRoundWords({});
    setRemainingTime(m_settings.roundDuration);
    prepareDecks();
    if (!nextWord())
        return;
    ++m_turnNumber;
    emit turnNumberChanged();
    qCInfo(lcGame).noquote() << "turn" << m_turnNumber << "team" << currentTeamName()
                             << "guesser" << currentPlayerName();
    setScreen(AppScreen::playing);
    cancelTimerTask();
    m_timerTask = TurnCountdown::start(m_clock, this);
    if (m_idleInhibitor)
        m_idleInhibitor->hold();
}

void GameStore::countdownTick()
{
    const BeforeChange before(*this);
    if (m_screen != AppScreen::playing || m_isEndingRound)
        return;
    if (m_remainingTime >= 2) {
        setRemainingTime(m_remainingTime - 1);
    } else {
        setRemainingTime(0);
        endTurn(false);
    }
}

void GameStore::handleSwipe(double dx)
{
    if (m_screen != AppScreen::playing || !(qAbs(dx) > 60.0))
        return;
    if (dx > 0)
        markGuessed();
    else
        markSkipped();
}

void GameStore::handleSwipeInTurn(double dx, qint64 turn)
{
    if (turn != m_turnNumber || m_isEndingRound)
        return;
    handleSwipe(dx);
}

void GameStore::appendRoundWord(bool guessed)
{
    RoundWord word;
    word.word = m_currentWord;
    word.guessed = guessed;
    word.isCustom = m_currentWordIsCustom;
    m_roundWords.append(word);
    emit roundWordsChanged();
    qCInfo(lcGame).noquote() << (guessed ? "guessed" : "skipped") << m_currentWord;
}

void GameStore::markGuessed()
{
    const BeforeChange before(*this);
    if (m_screen != AppScreen::playing)
        return;
    appendRoundWord(true);
    setGuessedCount(m_guessedCount + 1);
    const bool hasTeam = m_currentTeamIndex >= 0 && m_currentTeamIndex < m_teams.size();
    if (hasTeam) {
        ++m_teams[m_currentTeamIndex].score;
        emit teamsChanged();
    }
    // Cannot overflow: a turn starts at most a day long and a deck holds finitely many words.
    if (m_settings.bonusTime != BonusTime::off)
        setRemainingTime(m_remainingTime + rawValue(m_settings.bonusTime));
    m_haptics.notify(HapticCue::success);
    if (hasTeam && m_teams.at(m_currentTeamIndex).score >= m_settings.wordsToWin)
        endTurn(true);
    else
        nextWord();
}

void GameStore::markSkipped()
{
    const BeforeChange before(*this);
    if (m_screen != AppScreen::playing)
        return;
    m_sound.playSkip();
    appendRoundWord(false);
    setSkippedCount(m_skippedCount + 1);
    m_haptics.notify(HapticCue::warning);
    nextWord();
}

void GameStore::endTurn(bool reachedTarget)
{
    const BeforeChange before(*this);
    if (m_screen != AppScreen::playing || m_isEndingRound)
        return;
    m_isEndingRound = true;
    cancelTimerTask();
    releaseIdle();
    setRemainingTime(qMax<qint64>(m_remainingTime, 0));
    if (reachedTarget && m_currentTeamIndex >= 0 && m_currentTeamIndex < m_teams.size()) {
        setWinner(m_teams.at(m_currentTeamIndex));
        qCInfo(lcGame).noquote() << "winner" << m_winner->name << m_winner->score;
        setScreen(AppScreen::winner);
        m_sound.playGameEnd();
    } else {
        qCInfo(lcGame) << "turn over, guessed" << m_guessedCount << "skipped" << m_skippedCount;
        setScreen(AppScreen::summary);
        m_sound.playTurnEnd(m_guessedCount);
    }
    m_haptics.notify(HapticCue::error);
}

void GameStore::continueAfterSummary()
{
    // Twice would skip the pair's second guesser.
    if (m_screen != AppScreen::summary)
        return;
    const BeforeChange before(*this);
    m_sound.stopLong();
    advanceTurn();
    setScreen(AppScreen::ready);
}

void GameStore::advanceTurn()
{
    if (m_teams.isEmpty())
        return;
    const qint64 teamCount = m_teams.size();
    const bool validTeam = m_currentTeamIndex >= 0 && m_currentTeamIndex < teamCount;
    const qint64 playerCount = validTeam ? m_teams.at(m_currentTeamIndex).players.size() : 0;
    setCurrentPlayerIndex(m_currentPlayerIndex + 1);
    if (m_currentPlayerIndex >= 0 && m_currentPlayerIndex < playerCount)
        return;
    setCurrentPlayerIndex(0);
    const qint64 next = validTeam ? m_currentTeamIndex + 1 : 0;
    setCurrentTeamIndex(next % teamCount);
}
