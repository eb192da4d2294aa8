#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace GameEnums {
Q_NAMESPACE

// The screen shown; the router maps each case to one view.
enum class AppScreen {
    home,
    setup,
    formation,
    observerWheel,
    teams,
    ready,
    playing,
    summary,
    winner,
    customWords,
};
Q_ENUM_NS(AppScreen)

// Which built-in word list feeds the deck.
enum class Difficulty { easy, medium, hard };
Q_ENUM_NS(Difficulty)

// Seconds added to the clock for every guessed word.
enum class BonusTime { off = 0, three = 3, five = 5, ten = 10 };
Q_ENUM_NS(BonusTime)

} // namespace GameEnums

using GameEnums::AppScreen;
using GameEnums::BonusTime;
using GameEnums::Difficulty;

// Case names as written in code ("observerWheel"), for QML and logs.
QString screenName(AppScreen screen);
std::optional<AppScreen> screenFromName(const QString &name);

const QList<Difficulty> &allDifficulties();
// The Russian label, which is also the raw value.
QString rawValue(Difficulty difficulty);
std::optional<Difficulty> difficultyFromRaw(const QString &raw);

const QList<BonusTime> &allBonusTimes();
int rawValue(BonusTime bonus);
std::optional<BonusTime> bonusTimeFromRaw(qint64 raw);
// "Выкл" or "+3 сек".
QString bonusTimeLabel(BonusTime bonus);

// The choices made on the setup screen.
struct GameSettings
{
    Q_GADGET
    Q_PROPERTY(QString playerText MEMBER playerText)
    Q_PROPERTY(QString difficulty READ difficultyText WRITE setDifficultyText)
    Q_PROPERTY(bool usesCustomWords MEMBER usesCustomWords)
    Q_PROPERTY(qint64 roundDuration MEMBER roundDuration)
    Q_PROPERTY(qint64 wordsToWin MEMBER wordsToWin)
    Q_PROPERTY(int bonusTime READ bonusSeconds WRITE setBonusSeconds)
    Q_PROPERTY(QStringList playerNames READ playerNames)

public:
    QString playerText;
    Difficulty difficulty = Difficulty::medium;
    bool usesCustomWords = false;
    qint64 roundDuration = 60;
    qint64 wordsToWin = 20;
    BonusTime bonusTime = BonusTime::off;

    // The names parsed from playerText, in the order typed.
    QStringList playerNames() const;

    QString difficultyText() const { return rawValue(difficulty); }
    // Unknown labels leave the difficulty unchanged.
    void setDifficultyText(const QString &raw);
    int bonusSeconds() const { return rawValue(bonusTime); }
    // Values other than 0, 3, 5 and 10 leave the bonus unchanged.
    void setBonusSeconds(int seconds);
};

// A pair of players and its score.
struct Team
{
    Q_GADGET
    Q_PROPERTY(QString id READ idText)
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(QStringList players MEMBER players)
    Q_PROPERTY(qint64 score MEMBER score)

public:
    QUuid id = QUuid::createUuid();
    QString name;
    QStringList players;
    qint64 score = 0;

    QString idText() const { return id.toString(QUuid::WithoutBraces); }
    friend bool operator==(const Team &, const Team &) = default;
};

// One word shown in a turn and how it went.
struct RoundWord
{
    Q_GADGET
    Q_PROPERTY(QString id READ idText)
    Q_PROPERTY(QString word MEMBER word)
    Q_PROPERTY(bool guessed MEMBER guessed)
    Q_PROPERTY(bool isCustom MEMBER isCustom)

public:
    QUuid id = QUuid::createUuid();
    QString word;
    bool guessed = false;
    bool isCustom = false;

    QString idText() const { return id.toString(QUuid::WithoutBraces); }
};

Q_DECLARE_METATYPE(GameSettings)
Q_DECLARE_METATYPE(Team)
Q_DECLARE_METATYPE(RoundWord)
