// Random sequences of everything the screens can do to a real store (each screen's buttons
// and field assignments, late swipes and timer ticks at any time), with the game's rules
// checked after every step.
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "StoreHarness.h"
#include "WordRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <limits>

namespace {

QString consumeText(FuzzedDataProvider &input)
{
    const auto bytes = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 48));
    return decodeFuzzText(bytes.data(), bytes.size());
}

// Digits as a number field receives them, too long for 64 bits now and then.
QString consumeNumberText(FuzzedDataProvider &input)
{
    static const QStringList forms{u"0"_qs, u"1"_qs, u"20"_qs, u" 7 "_qs, u"-5"_qs, u"٣"_qs,
                                   u"9223372036854775807"_qs, u"9223372036854775808"_qs,
                                   u"99999999999999999999"_qs, u"1e3"_qs, u""_qs, u"+"_qs};
    if (input.ConsumeBool())
        return forms.at(input.ConsumeIntegralInRange<qsizetype>(0, forms.size() - 1));
    return consumeText(input);
}

double consumeDrag(FuzzedDataProvider &input)
{
    static const double edges[]{0.0, 60.0, -60.0, 60.0000001, -60.0000001, 59.9, 1e308,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
    if (input.ConsumeBool())
        return edges[input.ConsumeIntegralInRange<size_t>(0, std::size(edges) - 1)];
    return input.ConsumeFloatingPointInRange<double>(-400.0, 400.0);
}

class Rules
{
public:
    void check(const StoreHarness &harness)
    {
        const GameStore &game = *harness.store;
        const AppScreen screen = game.screen();
        const bool inGame = screen != AppScreen::home && screen != AppScreen::setup
                            && screen != AppScreen::formation && screen != AppScreen::customWords;

        for (const Team &team : game.teams())
            FUZZ_CHECK(team.players.size() == 2);
        if (inGame && !game.teams().isEmpty()) {
            FUZZ_CHECK(game.currentTeamIndex() >= 0 && game.currentTeamIndex() < game.teams().size());
            FUZZ_CHECK(game.currentPlayerIndex() >= 0 && game.currentPlayerIndex() < 2);
            FUZZ_CHECK(!game.currentPlayerName().isEmpty());
        }
        if (screen == AppScreen::teams || screen == AppScreen::ready || screen == AppScreen::playing
            || screen == AppScreen::summary || screen == AppScreen::winner)
            FUZZ_CHECK(!game.teams().isEmpty());
        if (screen == AppScreen::observerWheel) {
            FUZZ_CHECK(game.observer().has_value());
            FUZZ_CHECK(game.observerCandidates().contains(*game.observer()));
            FUZZ_CHECK(game.observerCandidates().size() % 2 == 1);
        }

        // Scores only grow while the same teams play, by at most one a step.
        QList<std::pair<QUuid, qint64>> scores;
        for (const Team &team : game.teams())
            scores.append({team.id, team.score});
        if (scores.size() == m_scores.size() && !scores.isEmpty()
            && scores.first().first == m_scores.first().first) {
            qint64 gained = 0;
            for (qsizetype i = 0; i < scores.size(); ++i) {
                FUZZ_CHECK(scores.at(i).second >= m_scores.at(i).second);
                gained += scores.at(i).second - m_scores.at(i).second;
            }
            FUZZ_CHECK(gained <= 1);
        } else {
            for (const auto &score : scores)
                FUZZ_CHECK(score.second == 0);
        }
        m_scores = scores;

        // No word twice in a turn, and the counts match the list.
        qint64 guessed = 0;
        QSet<QString> keys;
        for (const RoundWord &word : game.roundWords()) {
            guessed += word.guessed;
            const QString key = wordKey(word.word);
            FUZZ_CHECK(!keys.contains(key));
            keys.insert(key);
        }
        FUZZ_CHECK(guessed == game.guessedCount());
        FUZZ_CHECK(game.roundWords().size() - guessed == game.skippedCount());

        if (screen == AppScreen::playing) {
            FUZZ_CHECK(game.hasTimerTask());
            FUZZ_CHECK(!game.isEndingRound());
            FUZZ_CHECK(game.remainingTime() >= 1);
            FUZZ_CHECK(!game.currentWord().isEmpty());
            FUZZ_CHECK(!keys.contains(wordKey(game.currentWord())));
            FUZZ_CHECK(game.usedWordKeys().contains(wordKey(game.currentWord())));
            FUZZ_CHECK(harness.clock.pendingCount() == 1);
        } else {
            FUZZ_CHECK(!game.hasTimerTask());
            FUZZ_CHECK(harness.clock.pendingCount() == 0);
        }
        if (screen == AppScreen::winner) {
            FUZZ_CHECK(game.winner().has_value());
            FUZZ_CHECK(game.winner()->score == game.settings().wordsToWin);
        }
        FUZZ_CHECK(game.settings().wordsToWin >= 1);
        FUZZ_CHECK(game.timeText().contains(u':'));

        // What the players typed is what is stored.
        FUZZ_CHECK(game.customWordCount() == splitWordLines(game.customWordsText()).size());
        if (harness.prefs.writeCount > 0 && !harness.prefs.failWrites)
            FUZZ_CHECK(harness.prefs.values.value(GameStore::customWordsKey).toString()
                       == game.customWordsText());
    }

private:
    QList<std::pair<QUuid, qint64>> m_scores;
};

// One touch on the current screen, as its buttons and fields allow.
void touchScreen(StoreHarness &harness, FuzzedDataProvider &input)
{
    GameStore &game = *harness.store;
    const int choice = input.ConsumeIntegralInRange<int>(0, 7);
    switch (game.screen()) {
    case AppScreen::home:
        if (choice < 5)
            game.startNewGame();
        else
            game.setScreen(AppScreen::customWords);
        break;
    case AppScreen::customWords:
        if (choice < 7)
            game.setCustomWordsText(consumeText(input));
        else
            game.goHome();
        break;
    case AppScreen::setup:
        switch (choice) {
        case 0:
            game.goHome();
            break;
        case 1:
            game.openFormation();
            break;
        case 2:
            game.setPlayerText(consumeText(input));
            break;
        case 3: {
            const QStringList labels = GameStore::difficultyLabels();
            game.setDifficulty(input.ConsumeBool()
                                   ? labels.at(input.ConsumeIntegralInRange<qsizetype>(0, 2))
                                   : consumeText(input));
            break;
        }
        case 4:
            game.setUsesCustomWords(input.ConsumeBool());
            break;
        case 5: {
            const QList<int> durations = GameStore::roundDurationValues();
            game.setRoundDuration(
                durations.at(input.ConsumeIntegralInRange<qsizetype>(0, durations.size() - 1)));
            break;
        }
        case 6:
            if (input.ConsumeBool())
                game.setWordsToWinText(consumeNumberText(input));
            else
                game.setWordsToWin(input.ConsumeIntegral<qint64>());
            break;
        default: {
            const QList<int> bonuses = GameStore::bonusTimeValues();
            game.setBonusTime(input.ConsumeBool()
                                  ? bonuses.at(input.ConsumeIntegralInRange<qsizetype>(0, 3))
                                  : input.ConsumeIntegral<int>());
            break;
        }
        }
        break;
    case AppScreen::formation:
        if (choice == 0)
            game.setScreen(AppScreen::setup);
        else
            game.formTeams(input.ConsumeBool());
        break;
    case AppScreen::observerWheel:
        if (choice == 0)
            game.cancelObserver();
        else
            game.confirmObserver();
        break;
    case AppScreen::teams:
        if (choice == 0)
            game.setScreen(AppScreen::formation);
        else if (choice < 4)
            game.setTeamName(input.ConsumeIntegralInRange<int>(-1, int(game.teams().size())),
                             consumeText(input));
        else
            game.setScreen(AppScreen::ready);
        break;
    case AppScreen::ready:
        if (choice == 0)
            game.goHome();
        else
            game.startTurn();
        break;
    case AppScreen::playing:
        if (choice < 6)
            game.handleSwipeInTurn(consumeDrag(input), game.turnNumber());
        else
            harness.clock.advance(std::chrono::milliseconds(input.ConsumeIntegralInRange(0, 3000)));
        break;
    case AppScreen::summary:
        if (choice == 0)
            game.goHome();
        else
            game.continueAfterSummary();
        break;
    case AppScreen::winner:
        if (choice < 4)
            game.replay();
        else
            game.goHome();
        break;
    }
}

// Things that may arrive on any screen: late swipes, timer wake-ups, stray turn ends.
void arriveLate(StoreHarness &harness, FuzzedDataProvider &input)
{
    GameStore &game = *harness.store;
    switch (input.ConsumeIntegralInRange<int>(0, 6)) {
    case 0:
        game.handleSwipe(consumeDrag(input));
        break;
    case 1:
        game.handleSwipeInTurn(consumeDrag(input),
                               game.turnNumber() - input.ConsumeIntegralInRange<qint64>(0, 2));
        break;
    case 2:
        game.markGuessed();
        break;
    case 3:
        game.markSkipped();
        break;
    case 4:
        game.endTurn(input.ConsumeBool());
        break;
    default:
        harness.clock.advance(std::chrono::milliseconds(input.ConsumeIntegralInRange(0, 70000)));
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    StoreHarness harness(input.ConsumeIntegral<quint64>());
    if (input.ConsumeBool())
        harness.prefs.values.insert(GameStore::customWordsKey, consumeText(input));
    harness.restart();
    harness.prefs.failWrites = input.ConsumeBool();

    Rules rules;
    rules.check(harness);
    for (int step = 0; step < 2000 && input.remaining_bytes() > 0; ++step) {
        if (input.ConsumeIntegralInRange<int>(0, 9) < 8)
            touchScreen(harness, input);
        else
            arriveLate(harness, input);
        rules.check(harness);
    }
    return 0;
}
