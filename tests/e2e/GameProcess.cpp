#include "GameProcess.h"

#include <QRegularExpression>

namespace {

// The game prints "<seconds>.<ms> glimp.game: <event>" under the message pattern we give it.
const QRegularExpression eventLine(u"^\\s*(\\d+)\\.(\\d{3}) glimp\\.game: (.*)$"_qs);

} // namespace

GameProcess::GameProcess(const QString &logPath)
    : m_log(logPath)
{
    m_log.open(QIODevice::Append | QIODevice::Text);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

GameProcess::~GameProcess()
{
    kill();
}

bool GameProcess::start(const QString &binary, const QProcessEnvironment &environment)
{
    QProcessEnvironment env = environment;
    env.insert(u"QT_MESSAGE_PATTERN"_qs, u"%{time process} %{category}: %{message}"_qs);
    m_process.setProcessEnvironment(env);
    m_process.start(binary, {});
    m_log.write("---- " + binary.toUtf8() + " started\n");
    return m_process.waitForStarted(10000);
}

void GameProcess::readAvailable()
{
    m_partial += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_partial.left(end));
        m_partial.remove(0, end + 1);
        m_log.write(line.toUtf8() + '\n');
        const QRegularExpressionMatch match = eventLine.match(line);
        if (match.hasMatch())
            m_events.append({match.captured(1).toLongLong() * 1000 + match.captured(2).toLongLong(),
                             match.captured(3)});
    }
    m_log.flush();
}

QRegularExpressionMatch GameProcess::waitFor(const QString &pattern, int timeoutMs)
{
    const QRegularExpression wanted(u"^(?:"_qs + pattern + u")$"_qs);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        readAvailable();
        for (; m_taken < m_events.size(); ++m_taken) {
            const QRegularExpressionMatch match = wanted.match(m_events.at(m_taken).text);
            if (match.hasMatch()) {
                m_lastMs = m_events.at(m_taken).ms;
                m_takenAt.start();
                ++m_taken;
                return match;
            }
        }
        const qint64 left = timeoutMs - waited.elapsed();
        if (left <= 0 || m_process.state() == QProcess::NotRunning)
            return {};
        m_process.waitForReadyRead(int(qMin<qint64>(left, 100)));
    }
}

bool GameProcess::hasPending(const QString &pattern)
{
    readAvailable();
    const QRegularExpression wanted(u"^(?:"_qs + pattern + u")$"_qs);
    for (qsizetype i = m_taken; i < m_events.size(); ++i) {
        if (wanted.match(m_events.at(i).text).hasMatch())
            return true;
    }
    return false;
}

QString GameProcess::recent() const
{
    QStringList lines;
    for (qsizetype i = qMax<qsizetype>(0, m_taken - 8); i < m_events.size(); ++i)
        lines << (i < m_taken ? u"  taken: "_qs : u"  new:   "_qs) + m_events.at(i).text;
    if (m_process.state() == QProcess::NotRunning)
        lines << u"  (the game has ended, status %1)"_qs.arg(m_process.exitCode());
    return lines.isEmpty() ? u"  (no events yet)"_qs : lines.join(u'\n');
}

bool GameProcess::waitForCleanExit(int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (m_process.state() != QProcess::NotRunning && waited.elapsed() < timeoutMs) {
        m_process.waitForFinished(100);
        readAvailable();
    }
    readAvailable();
    return m_process.state() == QProcess::NotRunning
           && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

void GameProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
    readAvailable();
}
