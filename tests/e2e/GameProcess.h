#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpressionMatch>
#include <QStringList>
#include <limits>

// The real game binary, running with its screen and store events logged. The events are
// all the test knows of the game: it reads them in order, as they come.
class GameProcess
{
public:
    struct Event
    {
        qint64 ms = -1; // since the game started, as the game stamped it
        QString text;   // the event, without the category
    };

    // Appends everything the game prints to logPath.
    explicit GameProcess(const QString &logPath);
    ~GameProcess();
    GameProcess(const GameProcess &) = delete;
    GameProcess &operator=(const GameProcess &) = delete;

    bool start(const QString &binary, const QProcessEnvironment &environment);
    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() != QProcess::NotRunning; }

    // The first event after the ones already taken that matches, taking it and the ones
    // before it; an invalid match after timeoutMs or when the game has ended.
    QRegularExpressionMatch waitFor(const QString &pattern, int timeoutMs = 10000);
    // The time stamp of the event taken last.
    qint64 lastEventMs() const { return m_lastMs; }
    // How long ago, on the test's clock, the event taken last was taken.
    qint64 sinceTaken() const
    {
        return m_takenAt.isValid() ? m_takenAt.elapsed() : std::numeric_limits<qint64>::max();
    }
    // Reads what has arrived; true when some event not yet taken matches pattern.
    bool hasPending(const QString &pattern);
    // The events not yet taken and the last ones taken, for a failure message.
    QString recent() const;

    // Waits for the game to end by itself; true when it exited normally with status 0.
    bool waitForCleanExit(int timeoutMs);
    void kill();

private:
    void readAvailable();

    QProcess m_process;
    QFile m_log;
    QByteArray m_partial;
    QList<Event> m_events;
    qsizetype m_taken = 0;
    qint64 m_lastMs = -1;
    QElapsedTimer m_takenAt;
};
