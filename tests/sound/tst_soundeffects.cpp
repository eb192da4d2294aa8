#include "DeferredAudioBackend.h"
#include "FakeAudio.h"
#include "ScriptedRandom.h"
#include "SoundEffects.h"
#include "StoreHarness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The cue logic on recording players: which sound plays, and which one a new sound cuts.
class TestSoundEffects : public QObject
{
    Q_OBJECT

    // Every cue, but game_end2 has no file and skip_sound2 one that does not load.
    struct Rig
    {
        Rig()
        {
            backend.missing = {u"game_end2"_s};
            backend.broken = {u"skip_sound2"_s};
            sound = std::make_unique<SoundEffects>(backend, random);
        }

        QStringList take() { return std::exchange(backend.log, {}); }

        FakeAudioBackend backend;
        ScriptedRandom random;
        std::unique_ptr<SoundEffects> sound;
    };

    static QStringList started(const QString &name)
    {
        return {name + u":position 0"_s, name + u":play"_s};
    }

private slots:
    // The session first, then each player at full volume and prepared; nothing sounds.
    void loadsEveryCueSilently()
    {
        Rig rig;
        QStringList expected{u"session"_s};
        for (const QString &name : rig.sound->skipNames + rig.sound->gameEndNames
                                       + rig.sound->turnEndNames) {
            if (name != u"game_end2"_s && name != u"skip_sound2"_s)
                expected << name + u":volume 1"_s << name + u":prepare"_s;
        }
        QCOMPARE(rig.take(), expected);
        QCOMPARE(rig.random.drawCount, 0);
    }

    void turnEndBand_data()
    {
        QTest::addColumn<qint64>("guessed");
        QTest::addColumn<int>("band");
        // Below zero cannot happen in a game; it must not index out of the list.
        constexpr qint64 max = std::numeric_limits<qint64>::max();
        constexpr qint64 min = std::numeric_limits<qint64>::min();
        const std::pair<qint64, int> rows[]{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {5, 4}, {9, 4},
                                            {10, 5}, {11, 5}, {max, 5}, {-1, 0}, {min, 0}};
        for (const auto &[guessed, band] : rows)
            QTest::newRow(qPrintable(QString::number(guessed))) << guessed << band;
    }

    void turnEndBand()
    {
        QFETCH(qint64, guessed);
        QFETCH(int, band);
        Rig rig;
        rig.take();
        rig.sound->playTurnEnd(guessed);
        QCOMPARE(rig.take(), started(rig.sound->turnEndNames.at(band)));
        QCOMPARE(rig.random.drawCount, 0);
    }

    // A new skip sound cuts the last one, the same one starts over, and one that did not
    // load leaves the last one sounding.
    void skipCutsTheLastSkip()
    {
        Rig rig;
        rig.take();
        rig.random.queue = {0, 3, 3, 1};
        rig.sound->playSkip();
        QCOMPARE(rig.take(), started(u"skip_sound1"_s));
        rig.sound->playSkip();
        QCOMPARE(rig.take(), QStringList{u"skip_sound1:stop"_s} + started(u"skip_sound4"_s));
        rig.sound->playSkip();
        QCOMPARE(rig.take(), QStringList{u"skip_sound4:stop"_s} + started(u"skip_sound4"_s));
        rig.sound->playSkip();
        QVERIFY(rig.take().isEmpty());
        QCOMPARE(rig.random.bounds, QList<quint64>({5, 5, 5, 5}));
        rig.sound->stopAll();
        QCOMPARE(rig.take(), QStringList{u"skip_sound4:stop"_s});
    }

    // A long sound (turn end, fanfare) cuts only the last long one; a missing fanfare cuts
    // nothing; what is stopped is forgotten.
    void longSoundsCutOnlyLongSounds()
    {
        Rig rig;
        rig.take();
        rig.random.queue = {2, 1, 0, 2};
        rig.sound->playTurnEnd(4);
        rig.sound->playSkip();
        rig.sound->playGameEnd();
        QCOMPARE(rig.take(),
                 started(u"turn_endscreen_3to4_words_guessed"_s) + started(u"skip_sound3"_s));
        rig.sound->playGameEnd();
        QCOMPARE(rig.take(), QStringList{u"turn_endscreen_3to4_words_guessed:stop"_s}
                                 + started(u"game_end1"_s));
        rig.sound->playGameEnd();
        QCOMPARE(rig.take(), QStringList{u"game_end1:stop"_s} + started(u"game_end3"_s));
        QCOMPARE(rig.random.bounds, QList<quint64>({5, 3, 3, 3}));
        rig.sound->stopAll();
        QCOMPARE(rig.take(), QStringList({u"skip_sound3:stop"_s, u"game_end3:stop"_s}));
        rig.sound->stopAll();
        rig.sound->stopLong();
        QVERIFY(rig.take().isEmpty());
    }

    // Through the store: a skip sound still sounding at the end of a turn goes on under the
    // turn-end sound, and leaving the summary cuts only the latter.
    void aTurnThroughTheStore()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_s);
        game->startTurn();
        game->handleSwipe(-100);
        game.audioBackend.log.clear();
        game.clock.advance(300s);
        QCOMPARE(game.audioBackend.log, started(u"turn_endscreen_0words_guessed"_s));
        game.audioBackend.log.clear();
        game->continueAfterSummary();
        QCOMPARE(game.audioBackend.log, QStringList{u"turn_endscreen_0words_guessed:stop"_s});
    }

    // The game's stand-in backend: nothing is made until the first sound is wanted; then
    // every player hears, in order, what it was told before, and the sound plays. A file
    // the real backend refuses stays silent, and so does everything when there is no real
    // backend at all.
    void standInMakesTheBackendAtTheFirstSound()
    {
        QTemporaryDir folder;
        ScriptedRandom random;
        random.queue = {0, 0};
        for (const QString &name : SoundEffects(*std::make_unique<FakeAudioBackend>(), random).skipNames
                                       + QStringList{u"turn_endscreen_2words_guessed"_s})
            QFile(folder.filePath(name + u".flac"_s)).open(QIODevice::WriteOnly);
        FakeAudioBackend *real = nullptr;
        DeferredAudioBackend standIn([&] {
            auto made = std::make_unique<FakeAudioBackend>();
            made->broken = {folder.filePath(u"skip_sound2.flac"_s)};
            real = made.get();
            return made;
        }, folder.path());
        SoundEffects sound(standIn, random);
        QVERIFY(sound.hasPlayer(u"skip_sound1"_s) && !sound.hasPlayer(u"game_end1"_s));
        sound.stopAll();
        QVERIFY(!real);
        sound.playSkip();
        QVERIFY(real);
        // The fake's players go by their paths.
        const auto at = [&](const QString &name) { return folder.filePath(name + u".flac"_s); };
        const QString turnEnd = at(u"turn_endscreen_2words_guessed"_s);
        QStringList expected{u"session"_s};
        for (const QString &name : sound.skipNames + QStringList{u"turn_endscreen_2words_guessed"_s}) {
            if (name != u"skip_sound2"_s)
                expected << at(name) + u":volume 1"_s << at(name) + u":prepare"_s;
            if (name == u"skip_sound1"_s)
                expected << at(name) + u":position 0"_s;
        }
        QCOMPARE(std::exchange(real->log, {}), expected << at(u"skip_sound1"_s) + u":play"_s);
        sound.playTurnEnd(2);
        standIn.startLoading();
        QCOMPARE(real->log, QStringList({turnEnd + u":position 0"_s, turnEnd + u":play"_s}));
        random.queue = {1};
        sound.playSkip();
        QCOMPARE(real->log.size(), 3);

        DeferredAudioBackend none([] { return std::unique_ptr<AudioBackend>(); }, folder.path());
        SoundEffects silent(none, random);
        silent.playSkip();
        silent.playTurnEnd(2);
        none.startLoading();
        QVERIFY(!none.backend());
    }
};

QTEST_GUILESS_MAIN(TestSoundEffects)
#include "tst_soundeffects.moc"
