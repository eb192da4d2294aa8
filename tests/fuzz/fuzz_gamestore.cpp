// Random sequences of everything the screens can do to a real store (each screen's buttons
// and field assignments, late swipes and timer ticks at any time), with the game's rules
// checked after every step.
#include "FuzzText.h"
#include "StoreHarness.h"
#include "WordRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

template <typename List>
auto pick(FuzzedDataProvider &input, const List &list)
{
    return list.at(input.ConsumeIntegralInRange<qsizetype>(0, list.size() - 1));
}

QString consumeText(FuzzedDataProvider &input)
{
    const auto bytes = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 48));
    return decodeFuzzText(bytes.data(), bytes.size());
}

// Digits as a number field receives them, too long for 64 bits now and then.
QString consumeNumberText(FuzzedDataProvider &input)
{
    static const QStringList forms{u"0"_s, u"1"_s, u"20"_s, u" 7 "_s, u"-5"_s, u"٣"_s,
                                   u"9223372036854775807"_s, u"9223372036854775808"_s,
                                   u"99999999999999999999"_s, u"1e3"_s, u""_s, u"+"_s};
    return input.ConsumeBool() ? pick(input, forms) : consumeText(input);
}

double consumeDrag(FuzzedDataProvider &input)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    static const QList<double> edges{0.0,  60.0, -60.0, 60.0000001, -60.0000001, 59.9, 1e308,
                                     inf, -inf, std::numeric_limits<double>::quiet_NaN()};
    return input.ConsumeBool() ? pick(input, edges)
                               : input.ConsumeFloatingPointInRange<double>(-400.0, 400.0);
}

class Rules
{
public:
    void check(const StoreHarness &harness)
    {
        const GameStore &game = *harness.store;
        const AppScreen screen = game.screen();
        for (const Team &team : game.teams())
            FUZZ_CHECK(team.players.size() == 2);
        // From the wheel to the winner a game is under way.
        if (screen >= AppScreen::observerWheel && screen <= AppScreen::winner
            && !game.teams().isEmpty()) {
            FUZZ_CHECK(game.currentTeamIndex() >= 0 && game.currentTeamIndex() < game.teams().size());
            FUZZ_CHECK(game.currentPlayerIndex() >= 0 && game.currentPlayerIndex() < 2);
            FUZZ_CHECK(!game.currentPlayerName().isEmpty());
        }
        if (screen >= AppScreen::teams && screen <= AppScreen::winner)
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
        const bool sameTeams = scores.size() == m_scores.size() && !scores.isEmpty()
                               && scores.first().first == m_scores.first().first;
        qint64 gained = 0;
        for (qsizetype i = 0; i < scores.size(); ++i) {
            const qint64 before = sameTeams ? m_scores.at(i).second : 0;
            FUZZ_CHECK(scores.at(i).second >= before);
            gained += scores.at(i).second - before;
        }
        FUZZ_CHECK(gained <= (sameTeams ? 1 : 0));
        m_scores = scores;

        // No word twice in a turn, and the counts match the list.
        qint64 guessed = 0;
        QSet<QString> keys;
        for (const RoundWord &word : game.roundWords()) {
            guessed += word.guessed;
            FUZZ_CHECK(!keys.contains(wordKey(word.word)));
            keys.insert(wordKey(word.word));
        }
        FUZZ_CHECK(guessed == game.guessedCount());
        FUZZ_CHECK(game.roundWords().size() - guessed == game.skippedCount());

        const bool playing = screen == AppScreen::playing;
        FUZZ_CHECK(game.hasTimerTask() == playing);
        FUZZ_CHECK(harness.clock.pendingCount() == (playing ? 1 : 0));
        if (playing) {
            FUZZ_CHECK(!game.isEndingRound());
            FUZZ_CHECK(game.remainingTime() >= 1);
            FUZZ_CHECK(!game.currentWord().isEmpty());
            FUZZ_CHECK(!keys.contains(wordKey(game.currentWord())));
            FUZZ_CHECK(game.usedWordKeys().contains(wordKey(game.currentWord())));
        }
        if (screen == AppScreen::winner)
            FUZZ_CHECK(game.winner() && game.winner()->score == game.settings().wordsToWin);
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
        choice < 5 ? game.startNewGame() : game.setScreen(AppScreen::customWords);
        break;
    case AppScreen::customWords:
        choice < 7 ? game.setCustomWordsText(consumeText(input)) : game.goHome();
        break;
    case AppScreen::setup:
        if (choice == 0)
            game.goHome();
        else if (choice == 1)
            game.openFormation();
        else if (choice == 2)
            game.setPlayerText(consumeText(input));
        else if (choice == 3)
            game.setDifficulty(input.ConsumeBool() ? pick(input, GameStore::difficultyLabels())
                                                   : consumeText(input));
        else if (choice == 4)
            game.setUsesCustomWords(input.ConsumeBool());
        else if (choice == 5)
            game.setRoundDuration(pick(input, GameStore::roundDurationValues()));
        else if (choice == 6 && input.ConsumeBool())
            game.setWordsToWinText(consumeNumberText(input));
        else if (choice == 6)
            game.setWordsToWin(input.ConsumeIntegral<qint64>());
        else
            game.setBonusTime(input.ConsumeBool() ? pick(input, GameStore::bonusTimeValues())
                                                  : input.ConsumeIntegral<int>());
        break;
    case AppScreen::formation:
        choice == 0 ? game.setScreen(AppScreen::setup) : game.formTeams(input.ConsumeBool());
        break;
    case AppScreen::observerWheel:
        choice == 0 ? game.cancelObserver() : game.confirmObserver();
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
        choice == 0 ? game.goHome() : game.startTurn();
        break;
    case AppScreen::playing:
        choice < 6 ? game.handleSwipeInTurn(consumeDrag(input), game.turnNumber())
                   : harness.clock.advance(1ms * input.ConsumeIntegralInRange(0, 3000));
        break;
    case AppScreen::summary:
        choice == 0 ? game.goHome() : game.continueAfterSummary();
        break;
    case AppScreen::winner:
        choice < 4 ? game.replay() : game.goHome();
        break;
    }
}

// Things that may arrive on any screen: late swipes, timer wake-ups, stray turn ends.
void arriveLate(StoreHarness &harness, FuzzedDataProvider &input)
{
    GameStore &game = *harness.store;
    const int choice = input.ConsumeIntegralInRange<int>(0, 6);
    if (choice == 0)
        game.handleSwipe(consumeDrag(input));
    else if (choice == 1)
        game.handleSwipeInTurn(consumeDrag(input),
                               game.turnNumber() - input.ConsumeIntegralInRange<qint64>(0, 2));
    else if (choice == 2)
        game.markGuessed();
    else if (choice == 3)
        game.markSkipped();
    else if (choice == 4)
        game.endTurn(input.ConsumeBool());
    else
        harness.clock.advance(1ms * input.ConsumeIntegralInRange(0, 70000));
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
