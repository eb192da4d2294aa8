// The players' own words survive the game being killed in the middle of a write: a writer
// process (this program, started with --write) stores edit after edit through the real
// preferences and is killed with SIGKILL at a random moment, again and again. After every
// kill the file holds the last finished edit or the one being written, never an empty or
// unreadable text.
//
// GLIMP_CRASH_KILLS and GLIMP_CRASH_EDITS set the number of kills and the edits each writer
// attempts (20 and 100 here; scripts/crash-test runs 50 and 1,000).
#include "GameStore.h"
#include "SettingsPreferences.h"
#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <random>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Edit index of run run: a line naming both, then now and then a large paste or nothing at
// all (the list cleared), and otherwise what INI files and QSettings treat specially.
QString editText(int run, int index)
{
    if (index % 97 == 41)
        return {};
    static const QStringList pieces{
        u"ёжик"_s, u"воздушный  шар"_s, u" Ёлка "_s, u"\r\n"_s, u"\n\n"_s, u"\u2028"_s,
        u"😀👨‍👩‍👧"_s, u"שרה"_s, u"a=b"_s, u"; не комментарий"_s, u"# и это"_s,
        u"[General]"_s, u"@ByteArray(x)"_s, u"@Variant(\\0)"_s, u"\"кавычки\""_s,
        u"\\n\\\\"_s, u"%25 %"_s, u"e\u0301"_s, u"\t"_s, QString(QChar(u'\0'))};
    std::mt19937 rng(quint32(run) * 100003u + quint32(index));
    const int count = index % 50 == 7 ? 8000 : int(rng() % 60);
    QString text = QStringLiteral("правка %1.%2\n").arg(run).arg(index);
    for (int i = 0; i < count; ++i)
        text += pieces.at(qsizetype(rng() % pieces.size()));
    return text;
}

// The writer: stores the edits of one run one after another and reports each finished
// write on stdout, unbuffered, so that the parent knows exactly which writes finished.
int writeEdits(const char *file, int run, int edits)
{
    SettingsPreferences preferences(QString::fromLocal8Bit(file));
    for (int index = 1; index <= edits; ++index) {
        // A failed write is tried again, as the game's writer thread does: a lock that a kill
        // left before QLockFile wrote its owner in it is stale only after 30 s.
        const QString text = editText(run, index);
        for (int tries = 0;
             !preferences.writeText(QString::fromLatin1(GameStore::customWordsKey), text); ++tries) {
            if (tries == 6000)
                return 1;
            QThread::msleep(10);
        }
        const QByteArray line = QByteArray::number(index) + '\n';
        if (write(STDOUT_FILENO, line.constData(), size_t(line.size())) != line.size())
            return 1;
    }
    return 0;
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void killedWritersKeepALastText()
    {
        const int kills = qEnvironmentVariableIntValue("GLIMP_CRASH_KILLS") ?: 20;
        const int edits = qEnvironmentVariableIntValue("GLIMP_CRASH_EDITS") ?: 100;
        QTemporaryDir dir;
        const QString file = dir.filePath(u"tarvuke/glimp.conf"_s);
        QRandomGenerator random(20240611);
        std::optional<QString> stored;
        int killedMidRun = 0;
        for (int run = 1; run <= kills; ++run) {
            QProcess writer;
            writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            writer.start(QCoreApplication::applicationFilePath(),
                         {u"--write"_s, file, QString::number(run), QString::number(edits)});
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
            QVERIFY2(now == last || now == next, qPrintable(now.value_or(u"nothing"_s).left(40)));
            QCOMPARE(QSettings(file, QSettings::IniFormat).status(), QSettings::NoError);
            QVERIFY(!QFile::exists(file + u".corrupt"_s));
            stored = now;
        }
        // The next write clears what killed writes left, and its lock goes with it.
        QVERIFY(SettingsPreferences(file).writeText(QString::fromLatin1(GameStore::customWordsKey),
                                                    u"последняя правка"_s));
        QCOMPARE(entriesIn(dir.filePath(u"tarvuke"_s)), QStringList{u"glimp.conf"_s});
        QVERIFY2(killedMidRun >= kills / 2, "too few kills landed while the writer was writing");
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--write") == 0)
        return writeEdits(argv[2], atoi(argv[3]), atoi(argv[4]));
    TestCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_crashsafety.moc"
