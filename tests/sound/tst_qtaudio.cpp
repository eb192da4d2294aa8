#include "QtAudioBackend.h"
#include "QtAudioPlayer.h"
#include "SoundEffects.h"
#include "SoundFile.h"
#include "SoundLoader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <cmath>
#include <thread>

using namespace Qt::StringLiterals;

using namespace std::chrono_literals;

namespace {

// The RMS of count samples from start (those past the end count as silence), in dBFS.
double rmsDb(const QList<qint16> &values, qsizetype start, qsizetype count)
{
    double sum = 0;
    for (qsizetype i = start; i < std::min(start + count, values.size()); ++i)
        sum += double(values[i]) * values[i];
    return 20.0 * std::log10(std::max(std::sqrt(sum / double(count)), 1e-9) / 32768.0);
}

QByteArray resource(const QString &name)
{
    QFile file(u":/Sounds/%1.flac"_s.arg(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Debug, info, warning, critical: which a category lets through.
QList<bool> levels(const QLoggingCategory &category)
{
    return {category.isDebugEnabled(), category.isInfoEnabled(), category.isWarningEnabled(),
            category.isCriticalEnabled()};
}

// Categories that exist before the sound server is connected to: one of ours, and one that
// Qt switches on by hand, as QSG_RENDER_TIMING does its timing.
QLoggingCategory g_ours("glimp.test.ours");
QLoggingCategory g_timing("qt.test.time.renderloop");

// A user's rules, in place before the game connects: a category of ours without its debug
// level, and Qt Multimedia's FFmpeg backend fully on.
QLoggingCategory::CategoryFilter g_beforeRules = nullptr;
void usersRules(QLoggingCategory *category)
{
    if (g_beforeRules)
        g_beforeRules(category);
    if (qstrcmp(category->categoryName(), "glimp.test.ruled") == 0)
        category->setEnabled(QtDebugMsg, false);
    if (qstrcmp(category->categoryName(), "qt.multimedia.ffmpeg") == 0) {
        for (const QtMsgType level : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
            category->setEnabled(level, true);
    }
}

} // namespace

// The committed sound files and the Qt Multimedia backend, headless: with no sound server
// every player is silent, and nothing may hang or fail.
class TestQtAudio : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        return written ? file.fileName() : QString();
    }

private slots:
    void initTestCase()
    {
        g_beforeRules = QLoggingCategory::installFilter(usersRules);
        g_timing.setEnabled(QtDebugMsg, true);
    }

    // Connecting to the sound server silences Qt Multimedia's start-up chatter and nothing
    // else: a category of ours keeps every level, one Qt switched on by hand stays on, one
    // made later follows the rules set before, and the chatter keeps its warnings.
    void connectingSilencesOnlyTheChatter()
    {
        QtAudioBackend::connectToServer();
        const QLoggingCategory ruled("glimp.test.ruled");
        const QLoggingCategory chatter("qt.multimedia.ffmpeg");
        QCOMPARE(levels(g_ours), QList<bool>({true, true, true, true}));
        QCOMPARE(levels(g_timing), QList<bool>({true, true, true, true}));
        QCOMPARE(levels(ruled), QList<bool>({false, true, true, true}));
        QCOMPARE(levels(chatter), QList<bool>({false, false, true, true}));
    }

    // The application's own instance: every cue it names is embedded, nothing else is, each
    // gets a player, and playing and stopping them returns promptly with or without a device.
    void sharedInstancePlaysEveryEmbeddedCue()
    {
        SoundEffects &sound = SoundEffects::shared();
        QStringList files;
        for (const QString &name : sound.skipNames + sound.gameEndNames + sound.turnEndNames) {
            QVERIFY2(sound.hasPlayer(name), qPrintable(name));
            files << name + u".flac"_s;
        }
        files.sort();
        QCOMPARE(QDir(u":/Sounds"_s).entryList(QDir::Files, QDir::Name), files);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 10; ++i)
            sound.playSkip();
        sound.playTurnEnd(12);
        sound.playGameEnd();
        sound.stopAll();
        // A hang guard: the first cue waits for the decoding, 1.9 s on a quiet machine with
        // a sound server, 14.6 s under the sanitizers on a busy one.
        QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
#ifdef Q_OS_LINUX
        // Every cue played, and no decoder framework was loaded for it (Qt 6.8 loads its
        // FFmpeg backend at the first device query unless told otherwise).
        QFile maps(u"/proc/self/maps"_s);
        QVERIFY(maps.open(QIODevice::ReadOnly));
        for (const QByteArray &line : maps.readAll().split('\n')) {
            const QByteArray file = line.mid(line.lastIndexOf('/') + 1);
            QVERIFY2(!file.startsWith("libgst") && !file.startsWith("libav")
                             && !file.startsWith("libsw"),
                     line.constData());
        }
#endif
    }

    void cueDecodes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("longest");
        for (const QString &file : QDir(u":/Sounds"_s).entryList(QDir::Files)) {
            const QString name = file.chopped(5);
            const bool skip = name.startsWith(u"skip"_s), turnEnd = name.startsWith(u"turn"_s);
            QTest::newRow(qPrintable(name)) << name << (skip ? 0.4 : turnEnd ? 2.5 : 3.5);
        }
    }

    // Every cue decodes, is as short as its kind must be, never reaches full scale,
    // starts and ends without a click, and is about as loud as the others.
    void cueDecodes()
    {
        QFETCH(QString, name);
        QFETCH(double, longest);
        const auto sound = SoundFile::read(QtAudioBackend().locate(name));
        QVERIFY(sound);
        QCOMPARE(sound->format, SoundFile::format());
        QVERIFY2(sound->seconds() > 0.1 && sound->seconds() <= longest,
                 qPrintable(QString::number(sound->seconds())));

        QList<qint16> values(sound->pcm.size() / 2);
        qFromLittleEndian<qint16>(sound->pcm.constData(), values.size(), values.data());
        const auto [low, high] = std::minmax_element(values.cbegin(), values.cend());
        const double peak = 20.0 * std::log10(std::max(-double(*low), double(*high)) / 32768.0);
        QVERIFY2(peak < -0.5, qPrintable(u"peak %1 dBFS"_s.arg(peak)));
        // A fade-in starts from silence; a fade-out leaves the last 10 ms nearly silent.
        QVERIFY2(std::abs(values.first()) < 655, qPrintable(QString::number(values.first())));
        const double tail = rmsDb(values, values.size() - 480, 480);
        QVERIFY2(tail < -50, qPrintable(u"last 10 ms at %1 dBFS"_s.arg(tail)));
        // Levelled to one loudness when made; unweighted RMS over 400 ms leaves a little spread.
        const qsizetype window = sound->format.sampleRate() * 4 / 10;
        double loudest = -200;
        for (qsizetype at = 0; at == 0 || at + window <= values.size(); at += window / 40)
            loudest = std::max(loudest, rmsDb(values, at, window));
        QVERIFY2(std::abs(loudest + 16) < 3,
                 qPrintable(u"loudest 400 ms at %1 dBFS"_s.arg(loudest)));
    }

    void damagedFilesDecodeToNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray real = resource(u"game_end1"_s);
        QVERIFY(real.startsWith("fLaC") && real.size() > 100000);
        // The 34-byte stream information follows the 4-byte mark and a 4-byte block header.
        const auto patched = [&](qsizetype at, QByteArrayView with) {
            return QByteArray(real).replace(at, with.size(), with.toByteArray());
        };
        QByteArray scrambled = real;
        for (qsizetype i = scrambled.size() / 2; i < scrambled.size() / 2 + 64; ++i)
            scrambled[i] = char(scrambled[i] ^ 0xa5);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("just some text, no sound");
        QTest::newRow("only the mark") << real.left(4);
        QTest::newRow("cut in the stream information") << real.left(30);
        QTest::newRow("only the stream information") << real.left(42);
        QTest::newRow("cut after 200 bytes") << real.left(200);
        QTest::newRow("cut in half") << real.left(real.size() / 2);
        QTest::newRow("last byte missing") << real.chopped(1);
        QTest::newRow("noise in the middle") << scrambled;
        // A frame whose checksum fails decodes to as many samples, of silence.
        QTest::newRow("one bit flipped") << patched(real.size() / 2,
                                                    QByteArray(1, char(real.at(real.size() / 2) ^ 1)));
        QTest::newRow("noise after the header") << real.left(42) + QByteArray(8192, '\x5a');
        QTest::newRow("another mark") << patched(0, "RIFF");
        // Sample rate (20 bits from byte 18): 44.1 kHz.
        QTest::newRow("44.1 kHz") << patched(18, "\x0a\xc4\x42");
        // Channels (3 bits, less one, from bit 4 of byte 20): two.
        QTest::newRow("stereo") << patched(20, QByteArray(1, char(real.at(20) | 0x02)));
        // Total samples (36 bits from bit 4 of byte 21): as many as 2^36 - 1.
        QTest::newRow("a day long") << patched(21, QByteArray(1, char(real.at(21) | 0x0f)))
                                                   .replace(22, 4, "\xff\xff\xff\xff");
    }

    // A file cut short, damaged or of another format decodes to nothing (and its player is
    // silent), whatever its header promises.
    void damagedFilesDecodeToNothing()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!SoundFile::decode(bytes));
        QVERIFY(!SoundFile::read(write(u"damaged.flac"_s, bytes)));
    }

    void onlyFilesThereGetAPlayer()
    {
        QtAudioBackend backend;
        QVERIFY(backend.createPlayer(write(u"copy.flac"_s, resource(u"game_end1"_s))));
        QVERIFY(backend.createPlayer(write(u"text.flac"_s, "not a sound")));
        QVERIFY(!backend.createPlayer(m_dir.filePath(u"absent.flac"_s)));
        QVERIFY(!backend.createPlayer(m_dir.path()));
        QVERIFY(backend.locate(u"no_such_sound"_s).isEmpty());
        QVERIFY(backend.locate(u"../sounds/skip_sound1"_s).isEmpty());
        QVERIFY(!SoundFile::read(m_dir.filePath(u"absent.flac"_s)));
    }

    // A file whose header is whole but whose sound data is noise: its player exists, stays
    // silent, and playing it returns promptly.
    void undecodableSoundPlaysSilently()
    {
        QByteArray scrambled = resource(u"game_end1"_s);
        QVERIFY(scrambled.size() > 100000);
        for (qsizetype i = 100; i < scrambled.size(); ++i)
            scrambled[i] = char(scrambled[i] ^ 0xa5);
        QtAudioBackend backend;
        const auto player = backend.createPlayer(write(u"scrambled.flac"_s, scrambled));
        QVERIFY(player);
        QElapsedTimer timer;
        timer.start();
        player->prepare();
        player->play();
        player->stop();
        // A hang guard, ten times a quiet run under the sanitizers.
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    }

    // With a sound server (ctest runs this beside one of its own, scripts/with-pulseaudio):
    // a cue played again while it sounds, or stopped, is cut short at once. Qt 6.8's
    // PulseAudio sink plays out what it holds before its stop() returns, and a second skip
    // swiped within the first's sound froze the game for the rest of it.
    void replayAndStopCutTheCueShort()
    {
        QtAudioBackend::connectToServer();
        if (QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("no sound server");
        SoundLoader loader;
        const SoundLoader::Result sound = loader.load(u":/Sounds/game_end3.flac"_s);
        QtAudioPlayer player(loader, sound);
        player.play();
        QVERIFY(sound.get());
        const qint64 cueMs = qRound64(sound.get()->seconds() * 1000);
        QVERIFY(cueMs > 3000);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 10; ++i)
            player.play();
        player.stop();
        // Waiting for even one cue to sound out takes seconds; ten cut short take a few
        // milliseconds each, a few tens under the sanitizers.
        QVERIFY2(timer.elapsed() < cueMs / 2, qPrintable(QString::number(timer.elapsed())));
    }

    // A cue asked for before it has finished decoding still plays: the call waits for it.
    // Any position, however odd, is harmless.
    void playWaitsForTheSoundAndTakesAnyPosition()
    {
        // Held, as the application's loader is until the event loop first waits.
        SoundLoader loader(true);
        const SoundLoader::Result sound = loader.load(u":/Sounds/skip_sound1.flac"_s);
        QtAudioPlayer player(loader, sound);
        player.prepare();
        player.play();
        QCOMPARE(sound.wait_for(0s), std::future_status::ready);
        QVERIFY(sound.get());
        for (double seconds : {-1.0, 0.1, 1e9, std::nan(""), HUGE_VAL, 0.0}) {
            player.setPosition(seconds);
            player.play();
        }
        player.stop();
        player.stop();
    }

    // Requests resolve in order, a missing file to nothing; those still queued when the
    // loader stops resolve to nothing instead of leaving a player waiting, and a loader
    // asked after stopping answers at once.
    void loaderResolvesEveryRequest()
    {
        SoundLoader loader;
        const SoundLoader::Result first = loader.load(u":/Sounds/game_end2.flac"_s);
        const SoundLoader::Result missing = loader.load(u":/Sounds/missing.flac"_s);
        const SoundLoader::Result last = loader.load(u":/Sounds/skip_sound2.flac"_s);
        loader.waitUntilIdle();
        for (const SoundLoader::Result *result : {&first, &missing, &last})
            QCOMPARE(result->wait_for(0s), std::future_status::ready);
        QVERIFY(first.get() && first.get()->seconds() > 1.0);
        QVERIFY(!missing.get());
        QVERIFY(last.get() && last.get()->seconds() < 0.4);

        QList<SoundLoader::Result> queued;
        for (int i = 0; i < 14; ++i)
            queued << loader.load(u":/Sounds/game_end3.flac"_s);
        loader.stop();
        int decoded = 0;
        for (const SoundLoader::Result &result : queued) {
            QCOMPARE(result.wait_for(0s), std::future_status::ready);
            decoded += result.get().has_value();
        }
        QVERIFY(decoded < 14);
        const SoundLoader::Result late = loader.load(u":/Sounds/game_end3.flac"_s);
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
        const SoundLoader::Result early = idle.load(u":/Sounds/skip_sound1.flac"_s);
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
        const SoundLoader::Result wanted = held.load(u":/Sounds/skip_sound2.flac"_s);
        QCOMPARE(wanted.wait_for(100ms), std::future_status::timeout);
        QVERIFY(held.wait(wanted));

        SoundLoader never(true);
        const SoundLoader::Result dropped = never.load(u":/Sounds/skip_sound3.flac"_s);
        never.stop();
        QCOMPARE(dropped.wait_for(0s), std::future_status::ready);
        QVERIFY(!dropped.get());
    }
};

QTEST_GUILESS_MAIN(TestQtAudio)
#include "tst_qtaudio.moc"
