#include "FakeAudio.h"
#include "ScriptedRandom.h"
#include "SoundEffects.h"
#include "StoreHarness.h"

#include <QTest>

// The cue logic on recording players: which sound plays, and which one a new sound cuts.
class TestSoundEffects : public QObject
{
    Q_OBJECT

    struct Rig
    {
        explicit Rig(QSet<QString> missing = {}, QSet<QString> broken = {})
        {
            backend.missing = std::move(missing);
            backend.broken = std::move(broken);
            sound = std::make_unique<SoundEffects>(backend, random);
            backend.log.clear();
        }

        QStringList take() { return std::exchange(backend.log, {}); }

        FakeAudioBackend backend;
        ScriptedRandom random;
        std::unique_ptr<SoundEffects> sound;
    };

    static QStringList started(const QString &name)
    {
        return {name + u":position 0"_qs, name + u":play"_qs};
    }

private slots:
    void loadsEveryCueOnceInListOrder()
    {
        FakeAudioBackend backend;
        ScriptedRandom random;
        SoundEffects sound(backend, random);

        const QStringList all = sound.skipNames + sound.gameEndNames + sound.turnEndNames;
        QCOMPARE(all,
                 QStringList({u"skip_sound1"_qs, u"skip_sound2"_qs, u"skip_sound3"_qs,
                              u"skip_sound4"_qs, u"skip_sound5"_qs, u"game_end1"_qs,
                              u"game_end2"_qs, u"game_end3"_qs,
                              u"turn_endscreen_0words_guessed"_qs,
                              u"turn_endscreen_1word_guessed"_qs,
                              u"turn_endscreen_2words_guessed"_qs,
                              u"turn_endscreen_3to4_words_guessed"_qs,
                              u"turn_endscreen_5to9_words_guessed"_qs,
                              u"turn_endscreen_more_than_10_words_guessed"_qs}));
        // The session first, then each player at full volume and prepared; nothing sounds.
        QStringList expected{u"session"_qs};
        for (const QString &name : all)
            expected << name + u":volume 1"_qs << name + u":prepare"_qs;
        QCOMPARE(backend.log, expected);
        QCOMPARE(random.drawCount, 0);
    }

    void missingAndUnloadableFilesAreLeftOut()
    {
        Rig rig({u"skip_sound3"_qs}, {u"game_end1"_qs});
        QVERIFY(!rig.sound->hasPlayer(u"skip_sound3"_qs));
        QVERIFY(!rig.sound->hasPlayer(u"game_end1"_qs));
        for (const QString &name : {u"skip_sound1"_qs, u"game_end2"_qs,
                                    u"turn_endscreen_0words_guessed"_qs})
            QVERIFY(rig.sound->hasPlayer(name));
    }

    void turnEndBand_data()
    {
        QTest::addColumn<qint64>("guessed");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << qint64(0) << u"turn_endscreen_0words_guessed"_qs;
        QTest::newRow("1") << qint64(1) << u"turn_endscreen_1word_guessed"_qs;
        QTest::newRow("2") << qint64(2) << u"turn_endscreen_2words_guessed"_qs;
        QTest::newRow("3") << qint64(3) << u"turn_endscreen_3to4_words_guessed"_qs;
        QTest::newRow("4") << qint64(4) << u"turn_endscreen_3to4_words_guessed"_qs;
        QTest::newRow("5") << qint64(5) << u"turn_endscreen_5to9_words_guessed"_qs;
        QTest::newRow("9") << qint64(9) << u"turn_endscreen_5to9_words_guessed"_qs;
        QTest::newRow("10") << qint64(10) << u"turn_endscreen_more_than_10_words_guessed"_qs;
        QTest::newRow("11") << qint64(11) << u"turn_endscreen_more_than_10_words_guessed"_qs;
        QTest::newRow("1000") << qint64(1000) << u"turn_endscreen_more_than_10_words_guessed"_qs;
        QTest::newRow("int64 max") << std::numeric_limits<qint64>::max()
                                   << u"turn_endscreen_more_than_10_words_guessed"_qs;
        // A count below zero cannot happen in a game; it must not index out of the list.
        QTest::newRow("-1") << qint64(-1) << u"turn_endscreen_0words_guessed"_qs;
        QTest::newRow("int64 min") << std::numeric_limits<qint64>::min()
                                   << u"turn_endscreen_0words_guessed"_qs;
    }

    void turnEndBand()
    {
        QFETCH(qint64, guessed);
        QFETCH(QString, name);
        Rig rig;
        rig.sound->playTurnEnd(guessed);
        QCOMPARE(rig.take(), started(name));
        QCOMPARE(rig.random.drawCount, 0);
    }

    void secondSkipCutsTheFirstAndRewinds()
    {
        Rig rig;
        rig.random.queue = {0, 3, 3};
        rig.sound->playSkip();
        QCOMPARE(rig.take(), started(u"skip_sound1"_qs));
        rig.sound->playSkip();
        QCOMPARE(rig.take(), QStringList{u"skip_sound1:stop"_qs} + started(u"skip_sound4"_qs));
        // The same sound again starts over from the beginning.
        rig.sound->playSkip();
        QCOMPARE(rig.take(), QStringList{u"skip_sound4:stop"_qs} + started(u"skip_sound4"_qs));
        QCOMPARE(rig.random.bounds, QList<quint64>({5, 5, 5}));
    }

    void skipAndLongSoundsNeverCutEachOther()
    {
        Rig rig;
        rig.random.queue = {1, 2, 0};
        rig.sound->playSkip();
        rig.sound->playTurnEnd(4);
        rig.sound->playSkip();
        QCOMPARE(rig.take(), started(u"skip_sound2"_qs)
                                 + started(u"turn_endscreen_3to4_words_guessed"_qs)
                                 + QStringList{u"skip_sound2:stop"_qs}
                                 + started(u"skip_sound3"_qs));
        // A new long sound cuts the old long one only.
        rig.sound->playGameEnd();
        QCOMPARE(rig.take(), QStringList{u"turn_endscreen_3to4_words_guessed:stop"_qs}
                                 + started(u"game_end1"_qs));
        rig.sound->stopLong();
        QCOMPARE(rig.take(), QStringList{u"game_end1:stop"_qs});
        rig.sound->stopLong();
        QVERIFY(rig.take().isEmpty());
    }

    void stopAllStopsSkipThenLongAndThenNothing()
    {
        Rig rig;
        rig.sound->stopAll();
        QVERIFY(rig.take().isEmpty());

        rig.random.queue = {4};
        rig.sound->playTurnEnd(0);
        rig.sound->playSkip();
        rig.take();
        rig.sound->stopAll();
        QCOMPARE(rig.take(), QStringList({u"skip_sound5:stop"_qs,
                                          u"turn_endscreen_0words_guessed:stop"_qs}));
        rig.sound->stopAll();
        QVERIFY(rig.take().isEmpty());
        // Stopped players stay loaded and play again from the start.
        rig.sound->playTurnEnd(0);
        QCOMPARE(rig.take(), started(u"turn_endscreen_0words_guessed"_qs));
    }

    void missingSecondFanfareIsSilentAndTheOthersPlay()
    {
        Rig rig({u"game_end2"_qs});
        rig.sound->playTurnEnd(7);
        rig.take();
        rig.random.queue = {1};
        rig.sound->playGameEnd();
        // Nothing at all: the turn-end sound is not cut for a sound that is not there.
        QVERIFY(rig.take().isEmpty());
        rig.random.queue = {0};
        rig.sound->playGameEnd();
        QCOMPARE(rig.take(), QStringList{u"turn_endscreen_5to9_words_guessed:stop"_qs}
                                 + started(u"game_end1"_qs));
        rig.random.queue = {2};
        rig.sound->playGameEnd();
        QCOMPARE(rig.take(), QStringList{u"game_end1:stop"_qs} + started(u"game_end3"_qs));
        QCOMPARE(rig.random.bounds, QList<quint64>({3, 3, 3}));
    }

    void unloadableSkipLeavesTheCurrentOneSounding()
    {
        Rig rig({}, {u"skip_sound2"_qs});
        rig.random.queue = {0, 1};
        rig.sound->playSkip();
        rig.take();
        rig.sound->playSkip();
        QVERIFY(rig.take().isEmpty());
        rig.sound->stopAll();
        QCOMPARE(rig.take(), QStringList{u"skip_sound1:stop"_qs});
    }

    void withNoSoundsAtAllEveryRequestIsQuiet()
    {
        FakeAudioBackend backend;
        ScriptedRandom random;
        {
            const SoundEffects probe(backend, random);
            for (const QStringList *list : {&probe.skipNames, &probe.gameEndNames, &probe.turnEndNames})
                for (const QString &name : *list)
                    backend.missing.insert(name);
        }
        backend.log.clear();
        SoundEffects sound(backend, random);
        sound.playSkip();
        sound.playTurnEnd(3);
        sound.playGameEnd();
        sound.playLong(u"no such sound"_qs);
        sound.stopLong();
        sound.stopAll();
        QCOMPARE(backend.log, QStringList{u"session"_qs});
    }

    // The store's calls through a turn: a skip sound still sounding at the end of the turn
    // goes on under the turn-end sound, and leaving the summary cuts only the latter.
    void aTurnThroughTheStore()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_qs);
        game.soundRandom.queue = {2};
        game->startTurn();
        game->handleSwipe(100);
        game->handleSwipe(-100);
        game->handleSwipe(100);
        game->handleSwipe(100);
        game.audioBackend.log.clear();
        // Long enough for any bonus time the guesses added.
        game.clock.advance(300s);
        QCOMPARE(game->screen(), AppScreen::summary);
        QCOMPARE(game.audioBackend.log, started(u"turn_endscreen_3to4_words_guessed"_qs));
        game.audioBackend.log.clear();
        game->continueAfterSummary();
        QCOMPARE(game.audioBackend.log,
                 QStringList{u"turn_endscreen_3to4_words_guessed:stop"_qs});
    }
};

QTEST_GUILESS_MAIN(TestSoundEffects)
#include "tst_soundeffects.moc"
