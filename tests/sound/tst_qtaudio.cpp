#include "QtAudioBackend.h"
#include "QtAudioPlayer.h"
#include "SoundDecoder.h"
#include "SoundEffects.h"
#include "SoundLoader.h"
#include "SystemRandom.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <thread>

using namespace std::chrono_literals;

namespace {

const QStringList skipNames{u"skip_sound1"_qs, u"skip_sound2"_qs, u"skip_sound3"_qs,
                            u"skip_sound4"_qs, u"skip_sound5"_qs};
const QStringList gameEndNames{u"game_end1"_qs, u"game_end2"_qs, u"game_end3"_qs};
const QStringList turnEndNames{u"turn_endscreen_0words_guessed"_qs,
                               u"turn_endscreen_1word_guessed"_qs,
                               u"turn_endscreen_2words_guessed"_qs,
                               u"turn_endscreen_3to4_words_guessed"_qs,
                               u"turn_endscreen_5to9_words_guessed"_qs,
                               u"turn_endscreen_more_than_10_words_guessed"_qs};

QList<qint16> samples(const DecodedSound &sound)
{
    QList<qint16> values(sound.pcm.size() / 2);
    for (qsizetype i = 0; i < values.size(); ++i)
        values[i] = qFromLittleEndian<qint16>(sound.pcm.constData() + 2 * i);
    return values;
}

double dbfs(double level)
{
    return 20.0 * std::log10(std::max(level, 1e-9) / 32768.0);
}

// The loudest 400 ms of the sound (shorter sounds count as padded with silence), in dBFS.
double loudestWindowRms(const QList<qint16> &values, int rate)
{
    const qsizetype window = rate * 4 / 10;
    double best = 0;
    const qsizetype last = std::max<qsizetype>(values.size() - window, 0);
    for (qsizetype start = 0; start <= last; start += rate / 100) {
        double sum = 0;
        for (qsizetype i = start; i < std::min(start + window, values.size()); ++i)
            sum += double(values[i]) * values[i];
        best = std::max(best, std::sqrt(sum / double(window)));
    }
    return dbfs(best);
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QByteArray resource(const QString &name)
{
    QFile file(u":/Sounds/%1.m4a"_qs.arg(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The committed sound files and the Qt Multimedia backend, headless: with no sound server
// every player is silent, and nothing may hang or fail.
class TestQtAudio : public QObject
{
    Q_OBJECT

private slots:
    void everyCueIsEmbeddedAndNothingElse()
    {
        QStringList expected = skipNames + gameEndNames + turnEndNames;
        for (QString &name : expected)
            name += u".m4a"_qs;
        expected.sort();
        QCOMPARE(QDir(u":/Sounds"_qs).entryList(QDir::Files, QDir::Name), expected);
    }

    void cueDecodes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("longest");
        for (const QString &name : skipNames)
            QTest::newRow(qPrintable(name)) << name << 0.4;
        for (const QString &name : turnEndNames)
            QTest::newRow(qPrintable(name)) << name << 2.5;
        for (const QString &name : gameEndNames)
            QTest::newRow(qPrintable(name)) << name << 3.5;
    }

    // Every cue decodes, is as short as its kind must be, never reaches full scale,
    // starts and ends without a click, and is about as loud as the others.
    void cueDecodes()
    {
        QFETCH(QString, name);
        QFETCH(double, longest);
        QtAudioBackend backend;
        const QString path = backend.locate(name);
        QCOMPARE(path, u":/Sounds/%1.m4a"_qs.arg(name));

        const std::optional<DecodedSound> sound = SoundDecoder::decode(path, 10s);
        QVERIFY(sound);
        QCOMPARE(sound->format, SoundDecoder::format());
        QVERIFY2(sound->seconds() > 0.1 && sound->seconds() <= longest,
                 qPrintable(QString::number(sound->seconds())));

        const QList<qint16> values = samples(*sound);
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        const double peak = dbfs(std::max(-double(*low), double(*high)));
        QVERIFY2(peak < -0.5, qPrintable(u"peak %1 dBFS"_qs.arg(peak)));
        // A fade-in starts from silence; a fade-out leaves the last 10 ms nearly silent.
        QVERIFY2(std::abs(values.first()) < 655, qPrintable(QString::number(values.first())));
        const QList<qint16> tail = values.last(480);
        double tailSum = 0;
        for (qint16 value : tail)
            tailSum += double(value) * value;
        const double tailRms = dbfs(std::sqrt(tailSum / double(tail.size())));
        QVERIFY2(tailRms < -50, qPrintable(u"last 10 ms at %1 dBFS"_qs.arg(tailRms)));
        // Levelled to one loudness when made; unweighted RMS leaves a little spread.
        const double rms = loudestWindowRms(values, sound->format.sampleRate());
        QVERIFY2(std::abs(rms + 16) < 3, qPrintable(u"loudest 400 ms at %1 dBFS"_qs.arg(rms)));
    }

    void unreadableFilesGetNoPlayer()
    {
        QTemporaryDir dir;
        const QByteArray real = resource(u"game_end1"_qs);
        QVERIFY(real.size() > 1000);
        QByteArray noise = real.left(8);
        noise.append(QByteArray(4096, '\x5a'));
        QByteArray wrongStart = real;
        wrongStart.replace(4, 4, "free");
        QtAudioBackend backend;
        QVERIFY(backend.createPlayer(writeFile(dir, u"copy.m4a"_qs, real)));
        QVERIFY(!backend.createPlayer(dir.filePath(u"absent.m4a"_qs)));
        QVERIFY(!backend.createPlayer(dir.path()));
        QVERIFY(!backend.createPlayer(writeFile(dir, u"empty.m4a"_qs, {})));
        QVERIFY(!backend.createPlayer(writeFile(dir, u"text.m4a"_qs, "just some text, no sound")));
        QVERIFY(!backend.createPlayer(writeFile(dir, u"noise.m4a"_qs, noise)));
        QVERIFY(!backend.createPlayer(writeFile(dir, u"free.m4a"_qs, wrongStart)));
        for (qsizetype length : {7, 8, 200, 2000, int(real.size() - 1)})
            QVERIFY2(!backend.createPlayer(writeFile(dir, u"cut.m4a"_qs, real.left(length))),
                     qPrintable(QString::number(length)));
        QVERIFY(backend.locate(u"no_such_sound"_qs).isEmpty());
        QVERIFY(backend.locate(u"../sounds/skip_sound1"_qs).isEmpty());
    }

    // A file whose boxes are whole but whose sound data is noise: its player exists, stays
    // silent, and playing it waits no more than the decoder is given.
    void undecodableSoundPlaysSilently()
    {
        QTemporaryDir dir;
        QByteArray scrambled = resource(u"game_end1"_qs);
        const qsizetype data = scrambled.lastIndexOf("mdat") + 4;
        QVERIFY(data > 8);
        for (qsizetype i = data; i < scrambled.size(); ++i)
            scrambled[i] = char(scrambled[i] ^ 0xa5);
        const QString path = writeFile(dir, u"scrambled.m4a"_qs, scrambled);

        QtAudioBackend backend;
        std::unique_ptr<AudioPlayer> player = backend.createPlayer(path);
        QVERIFY(player);
        QElapsedTimer timer;
        timer.start();
        player->setVolume(1.0f);
        player->prepare();
        player->setPosition(0);
        player->play();
        player->stop();
        QVERIFY2(timer.elapsed() < 4000, qPrintable(QString::number(timer.elapsed())));
    }

    // The application's own instance: every cue loads (in the background), and playing
    // and stopping each kind through it returns promptly with or without a device.
    void sharedInstancePlaysEveryKind()
    {
        SoundEffects &sound = SoundEffects::shared();
        QCOMPARE(&SoundEffects::shared(), &sound);
        for (const QStringList *list : {&skipNames, &gameEndNames, &turnEndNames})
            for (const QString &name : *list)
                QVERIFY2(sound.hasPlayer(name), qPrintable(name));
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 10; ++i)
            sound.playSkip();
        sound.playTurnEnd(12);
        sound.playGameEnd();
        sound.playLong(u"turn_endscreen_0words_guessed"_qs);
        sound.stopLong();
        sound.stopAll();
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    // A cue asked for before it has finished decoding still plays: the call waits for it.
    void playingBeforeTheSoundHasLoadedWaitsForIt()
    {
        // Held, as the application's loader is until the event loop first waits.
        SoundLoader loader(true);
        const SoundLoader::Result sound = loader.load(u":/Sounds/game_end1.m4a"_qs);
        QtAudioPlayer player(loader, sound);
        player.prepare();
        player.play();
        QCOMPARE(sound.wait_for(0s), std::future_status::ready);
        QVERIFY(sound.get());
        player.stop();
    }

    void positionsBeyondTheSoundAreHarmless()
    {
        QtAudioBackend backend;
        std::unique_ptr<AudioPlayer> player = backend.createPlayer(backend.locate(u"skip_sound1"_qs));
        QVERIFY(player);
        player->prepare();
        for (double seconds : {-1.0, 0.1, 1e9, std::nan(""), HUGE_VAL, 0.0}) {
            player->setPosition(seconds);
            player->play();
        }
        player->stop();
        player->stop();
    }

    // Requests still queued when the loader stops resolve to nothing instead of leaving a
    // player waiting; a loader asked after stopping answers at once.
    void stoppedLoaderLeavesNoOneWaiting()
    {
        SoundLoader loader;
        QList<SoundLoader::Result> results;
        for (int i = 0; i < 14; ++i)
            results << loader.load(u":/Sounds/game_end3.m4a"_qs);
        loader.stop();
        int decoded = 0;
        for (const SoundLoader::Result &result : results) {
            QCOMPARE(result.wait_for(0s), std::future_status::ready);
            decoded += result.get().has_value();
        }
        QVERIFY(decoded < 14);
        const SoundLoader::Result late = loader.load(u":/Sounds/game_end3.m4a"_qs);
        QCOMPARE(late.wait_for(0s), std::future_status::ready);
        QVERIFY(!late.get());
        loader.waitUntilIdle();
    }

    // The application's loader waits for the event loop's first idle moment (the window is
    // up by then), and starts at once when a sound is wanted sooner.
    void heldLoaderStartsWhenIdleOrWhenWaitedFor()
    {
        SoundLoader idle(true);
        idle.releaseWhenIdle();
        const SoundLoader::Result early = idle.load(u":/Sounds/skip_sound1.m4a"_qs);
        QCOMPARE(early.wait_for(100ms), std::future_status::timeout);
        // Another thread waiting (to measure, say) does not start it early.
        std::optional<DecodedSound> seen;
        std::thread watcher([&] { seen = idle.wait(early); });
        QCOMPARE(early.wait_for(100ms), std::future_status::timeout);
        QEventLoop loop; // one that may block, as the application's does
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        QCOMPARE(early.wait_for(10s), std::future_status::ready);
        watcher.join();
        QVERIFY(early.get() && seen);

        SoundLoader held(true);
        const SoundLoader::Result wanted = held.load(u":/Sounds/skip_sound2.m4a"_qs);
        QCOMPARE(wanted.wait_for(100ms), std::future_status::timeout);
        QVERIFY(held.wait(wanted));

        SoundLoader never(true);
        const SoundLoader::Result dropped = never.load(u":/Sounds/skip_sound3.m4a"_qs);
        never.stop();
        QCOMPARE(dropped.wait_for(0s), std::future_status::ready);
        QVERIFY(!dropped.get());
    }

    void loaderDecodesInRequestOrder()
    {
        SoundLoader loader;
        const SoundLoader::Result first = loader.load(u":/Sounds/game_end2.m4a"_qs);
        const SoundLoader::Result missing = loader.load(u":/Sounds/missing.m4a"_qs);
        const SoundLoader::Result last = loader.load(u":/Sounds/skip_sound2.m4a"_qs);
        loader.waitUntilIdle();
        for (const SoundLoader::Result *result : {&first, &missing, &last})
            QCOMPARE(result->wait_for(0s), std::future_status::ready);
        QVERIFY(first.get() && last.get() && !missing.get());
        QVERIFY(first.get()->seconds() > 1.0);
        QVERIFY(last.get()->seconds() < 0.4);
    }
};

QTEST_GUILESS_MAIN(TestQtAudio)
#include "tst_qtaudio.moc"
