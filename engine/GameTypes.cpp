#include "GameTypes.h"

#include "WordRules.h"

#include <QMetaEnum>

QString screenName(AppScreen screen)
{
    return QString::fromLatin1(QMetaEnum::fromType<AppScreen>().valueToKey(int(screen)));
}

std::optional<AppScreen> screenFromName(const QString &name)
{
    bool ok = false;
    const int value = QMetaEnum::fromType<AppScreen>().keyToValue(name.toLatin1().constData(), &ok);
    if (!ok || name.isEmpty() || name.front().isDigit())
        return std::nullopt;
    return AppScreen(value);
}

const QList<Difficulty> &allDifficulties()
{
    static const QList<Difficulty> cases{Difficulty::easy, Difficulty::medium, Difficulty::hard};
    return cases;
}

QString rawValue(Difficulty difficulty)
{
    switch (difficulty) {
    case Difficulty::easy:
        return QStringLiteral("Простая");
    case Difficulty::medium:
        return QStringLiteral("Средняя");
    case Difficulty::hard:
        return QStringLiteral("Сложная");
    }
    return {};
}

std::optional<Difficulty> difficultyFromRaw(const QString &raw)
{
    for (Difficulty d : allDifficulties()) {
        if (rawValue(d) == raw)
            return d;
    }
    return std::nullopt;
}

const QList<BonusTime> &allBonusTimes()
{
    static const QList<BonusTime> cases{BonusTime::off, BonusTime::three, BonusTime::five,
                                        BonusTime::ten};
    return cases;
}

int rawValue(BonusTime bonus)
{
    return int(bonus);
}

std::optional<BonusTime> bonusTimeFromRaw(qint64 raw)
{
    for (BonusTime b : allBonusTimes()) {
        if (rawValue(b) == raw)
            return b;
    }
    return std::nullopt;
}

QString bonusTimeLabel(BonusTime bonus)
{
    if (bonus == BonusTime::off)
        return QStringLiteral("Выкл");
    return QStringLiteral("+%1 сек").arg(rawValue(bonus));
}

QStringList GameSettings::playerNames() const
{
    return ::playerNames(playerText);
}

void GameSettings::setDifficultyText(const QString &raw)
{
    if (const auto d = difficultyFromRaw(raw))
        difficulty = *d;
}

void GameSettings::setBonusSeconds(int seconds)
{
    if (const auto b = bonusTimeFromRaw(seconds))
        bonusTime = *b;
}
