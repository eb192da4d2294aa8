#pragma once

#include <QObject>
#include <vector>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP end the game through its event loop, as closing its window
// does: the last edit is written, the idle hold released, the keyboard asked down. A signal
// the game was started ignoring (nohup) stays ignored. Made just before the event loop
// runs: a signal during start-up, with nothing yet to keep, still ends the process at once.
class QuitOnSignals final : public QObject
{
    Q_OBJECT

public:
    explicit QuitOnSignals(QObject *parent = nullptr);
    // Gives the signals back their default action: a second one while the game winds down
    // ends it at once.
    ~QuitOnSignals() override;

private:
    QSocketNotifier *m_notifier = nullptr;
    std::vector<int> m_caught;
};
