// Decks, the turn clock, swipes, scoring, victory, turn order and the cues of each event.
#include "CardThrow.h"
#include "StoreHarness.h"

#include <limits>

using namespace Qt::StringLiterals;

class TestTurnPlay : public QObject
{
    Q_OBJECT

private slots:
    void aTurnEndsOnItsSixtiethTick()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_s);
        game->startTurn();
        QCOMPARE(game->timeText(), u"1:00"_s);
        game.clock.advance(59s);
        QCOMPARE(game->screen(), AppScreen::playing);
        QCOMPARE(game->timeText(), u"0:01"_s);
        game.clock.advance(1s);
        QCOMPARE(game->screen(), AppScreen::summary);
        QCOMPARE(game.clock.pendingCount(), 0);
        // The word on the card when time ran out is recorded nowhere.
        QVERIFY(game->roundWords().isEmpty());
        QCOMPARE(game.haptics.cues, QList<HapticCue>{HapticCue::error});

        // Ending a turn and starting the next takes two quick taps: what the last one left
        // on its way must not touch the new one.
        game->continueAfterSummary();
        game->setRoundDuration(10);
        game->startTurn();
        const qint64 thrownIn = game->turnNumber();
        game.clock.advance(500ms);
        game->endTurn(false);
        game->continueAfterSummary();
        game->startTurn();
        // Half a second in: the first countdown would tick now, the second must not yet.
        game.clock.advance(600ms);
        QCOMPARE(game->remainingTime(), 10);
        game.clock.advance(400ms);
        QCOMPARE(game->remainingTime(), 9);
        QCOMPARE(game.clock.pendingCount(), 1);
        game->handleSwipeInTurn(100, thrownIn);
        QCOMPARE(game->guessedCount(), 0);
        game->handleSwipeInTurn(100, game->turnNumber());
        QCOMPARE(game->guessedCount(), 1);
    }

    void guessesScoreAddBonusTimeAndTheTargetWins()
    {
        StoreHarness game;
        game.reachReady(u"A\nB\nC\nD"_s);
        game->setBonusTime(10);
        game->setRoundDuration(10);
        game->setWordsToWin(3);
        game->startTurn();
        game.clock.advance(8s);
        const QString first = game->currentWord();
        game->handleSwipe(60.1);
        QCOMPARE(game->timeText(), u"0:12"_s);
        QCOMPARE(game->teams().at(0).score, 1);
        QCOMPARE(game->roundWords().at(0).word, first);
        QVERIFY(game->currentWord() != first);

        // Skips cost nothing; exactly 60 (and 59.9) changes nothing.
        for (double dx : {-61.0, 60.0, -60.0, 59.9})
            game->handleSwipe(dx);
        QCOMPARE(game->teams().at(0).score, 1);
        QCOMPARE(game->skippedCount(), 1);
        QCOMPARE(game->remainingTime(), 12);
        QCOMPARE(game.haptics.cues, (QList<HapticCue>{HapticCue::success, HapticCue::warning}));
        // No sound for a guess, one skip sound for a skip.
        QStringList plays = game.audioBackend.log.filter(u":play"_s);
        QCOMPARE(plays.size(), 1);
        QVERIFY(plays.first().startsWith(u"skip_sound"_s));

        // The target word wins at once.
        game->handleSwipe(100);
        const QString last = game->currentWord();
        game.audioBackend.log.clear();
        game->handleSwipe(100);
        QCOMPARE(game->screen(), AppScreen::winner);
        QCOMPARE(game->winner()->id, game->teams().at(0).id);
        QCOMPARE(game->roundWords().last().word, last);
        QVERIFY(!game->hasTimerTask());
        plays = game.audioBackend.log.filter(u":play"_s);
        QCOMPARE(plays.size(), 1);
        QVERIFY(plays.first().startsWith(u"game_end"_s));
        QCOMPARE(game.haptics.cues.last(), HapticCue::error);
        // Later swipes and ticks do nothing.
        game->handleSwipe(100);
        game.clock.advance(120s);
        QCOMPARE(game->winner()->score, 3);
        QCOMPARE(game->screen(), AppScreen::winner);
    }

    // Each turn operation acts once, and only on its own screen.
    void turnOperationsActOnce()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_s);
        game->endTurn(false);
        game->continueAfterSummary();
        QCOMPARE(game->screen(), AppScreen::ready);
        QCOMPARE(game->currentPlayerIndex(), 0);
        game->startTurn();
        game->handleSwipe(100);
        game.clock.advance(1s);
        game->startTurn();
        QCOMPARE(game->guessedCount(), 1);
        QCOMPARE(game->remainingTime(), 59);
        QCOMPARE(game->turnNumber(), 1);
        game->endTurn(false);
        game->endTurn(false);
        game->endTurn(true);
        QCOMPARE(game->screen(), AppScreen::summary);
        QVERIFY(!game->winner());
        // One guess, no skip: the one-word sound.
        QCOMPARE(game.audioBackend.log.filter(u":play"_s).size(), 1);
        QVERIFY(game.audioBackend.log.filter(u":play"_s).first().contains(u"1word"_s));
        QCOMPARE(game.haptics.cues.size(), 2);
        game->continueAfterSummary();
        game->continueAfterSummary();
        QCOMPARE(game->currentPlayerIndex(), 1);
    }

    void turnOrderPassesThroughEachPair()
    {
        StoreHarness game;
        game.reachReady(u"1\n2\n3\n4\n5\n6"_s);
        QStringList order;
        for (int turn = 0; turn < 7; ++turn) {
            order << game->currentPlayerName();
            game->startTurn();
            game->endTurn(false);
            game->continueAfterSummary();
        }
        QCOMPARE(order.join(QString()), u"1234561"_s);
    }

    void aTurnEndsWhenTheDeckRunsDry()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_s);
        game->setDifficulty(u"Простая"_s);
        game->startTurn();
        while (game->screen() == AppScreen::playing)
            game->handleSwipe(-100);
        QCOMPARE(game->screen(), AppScreen::summary);
        QVERIFY(game->skippedCount() >= 294);
    }

    void theCustomDeckIsTriedFiveTimesInAHundred()
    {
        StoreHarness game;
        game->setDifficulty(u"Простая"_s);
        game->setUsesCustomWords(true);
        game->setCustomWordsText(u"свой\nСВОЙ "_s);
        game->prepareDecks();
        QCOMPARE(game->customDeck(), QStringList{u"свой"_s});
        // 5 misses the custom deck, 4 hits it.
        game.random.queue = {5};
        QCOMPARE(game->drawWord()->second, false);
        game.random.queue = {4};
        QCOMPARE(game->drawWord(), (std::pair{u"свой"_s, true}));
        // An empty custom deck draws no number at all.
        const int draws = game.random.drawCount;
        game->drawWord();
        QCOMPARE(game.random.drawCount, draws);

        // An edit reaches the next turn's deck.
        game->setCustomWordsText(u"ЕЖИК"_s);
        game->prepareDecks();
        QCOMPARE(game->customDeck(), QStringList{u"ЕЖИК"_s});
        // Draw from the bank until its own "ёжик" has come up.
        std::optional<std::pair<QString, bool>> drawn;
        do {
            game.random.queue = {50};
            drawn = game->drawWord();
            QVERIFY(drawn && !drawn->second);
        } while (drawn->first != u"ёжик"_s);
        // The custom deck's only word is used: it is thrown away and the same draw returns
        // a bank word.
        const qsizetype bankLeft = game->regularDeck().size();
        game.random.queue = {3};
        QCOMPARE(game->drawWord()->second, false);
        QVERIFY(game->customDeck().isEmpty());
        QCOMPARE(game->regularDeck().size(), bankLeft - 1);
    }

    // The thrown card's edges; the throw itself is played through the view in tst_playview.
    void aCardGoneMidFlightLeavesNothingBehind()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_s);
        game->startTurn();
        QVERIFY(!CardThrow().release(120)); // without a store nothing is thrown
        auto card = std::make_unique<CardThrow>();
        card->setGame(game.store.get());
        QVERIFY(!card->release(std::numeric_limits<double>::quiet_NaN()));
        QVERIFY(card->release(120));
        card.reset();
        QCOMPARE(game.clock.pendingCount(), 1); // only the turn's own countdown
        game.clock.advance(300ms);
        QCOMPARE(game->guessedCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestTurnPlay)
#include "tst_turnplay.moc"
