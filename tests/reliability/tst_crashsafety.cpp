// The players' own words survive the game being killed in the middle of a write: a writer
// process stores edit after edit through the real preferences and is killed with SIGKILL at
// a random moment, again and again. After every kill the file holds the last finished edit
// or the one being written, never an empty or unreadable text.
//
// GLIMP_CRASH_KILLS and GLIMP_CRASH_EDITS set the number of kills and the edits each writer
// attempts (20 and 100 here; scripts/crash-test runs 50 and 1,000).
#include "EditTexts.h"
#include "GameStore.h"
#include "SettingsPreferences.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void killedWritersKeepALastText()
    {
        const int kills = qEnvironmentVariableIntValue("GLIMP_CRASH_KILLS") ?: 20;
        const int edits = qEnvironmentVariableIntValue("GLIMP_CRASH_EDITS") ?: 100;
        QTemporaryDir dir;
        const QString file = dir.filePath(u"tarvuke/glimp.conf"_qs);
        QRandomGenerator random(20240611);
        std::optional<QString> stored;
        int killedMidRun = 0;
        for (int run = 1; run <= kills; ++run) {
            QProcess writer;
            writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            writer.start(QStringLiteral(PREFERENCES_WRITER),
                         {file, QString::number(run), QString::number(edits)});
            QVERIFY2(writer.waitForStarted(), qPrintable(writer.errorString()));

            // Let it finish a random number of edits, then kill it a random fraction of a
            // write later, so that kills land before, during and after writes.
            const int killAfter = int(random.bounded(edits + 1));
            int finished = 0;
            const auto readFinished = [&] {
                while (writer.canReadLine())
                    finished = writer.readLine().trimmed().toInt();
            };
            while (finished < killAfter && writer.state() == QProcess::Running) {
                writer.waitForReadyRead(100);
                readFinished();
            }
            QThread::usleep(random.bounded(20000));
            const bool wasRunning = writer.state() == QProcess::Running;
            writer.kill();
            QVERIFY(writer.waitForFinished(10000));
            readFinished();
            killedMidRun += wasRunning && finished < edits;

            // Nothing lost: the last finished edit, or the one it was writing.
            const std::optional<QString> last = finished > 0 ? editText(run, finished) : stored;
            const std::optional<QString> next =
                finished < edits ? std::optional(editText(run, finished + 1)) : last;
            const std::optional<QString> now =
                SettingsPreferences(file).readText(QString::fromLatin1(GameStore::customWordsKey));
            QVERIFY2(now == last || now == next, qPrintable(now.value_or(u"nothing"_qs).left(40)));
            QCOMPARE(QSettings(file, QSettings::IniFormat).status(), QSettings::NoError);
            QVERIFY(!QFile::exists(file + u".corrupt"_qs));
            stored = now;
        }
        // Opening the file cleared what killed writes left; a lock file may stay.
        QStringList left = QDir(dir.filePath(u"tarvuke"_qs)).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(u"glimp.conf.lock"_qs);
        QCOMPARE(left, QStringList{u"glimp.conf"_qs});
        QVERIFY2(killedMidRun >= kills / 2, "too few kills landed while the writer was writing");
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
