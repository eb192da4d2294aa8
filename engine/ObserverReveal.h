#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class ClockTimer;
class GameStore;

// Stages the reveal of the observer, who is already chosen: the names flick through the
// candidates, slowing down, then stop on the observer with a success haptic. Only the
// staging lives here; it never changes the store. Destroying it cancels the sequence.
class ObserverReveal : public QObject
{
    Q_OBJECT
    Q_PROPERTY(GameStore *game READ game WRITE setGame NOTIFY gameChanged)
    Q_PROPERTY(QString displayedName READ displayedName NOTIFY displayedNameChanged)
    Q_PROPERTY(bool isComplete READ isComplete NOTIFY isCompleteChanged)

public:
    static constexpr int stepCount = 22;
    // The wait after flick step (0-based): 65 ms, growing by 7 ms a step.
    static constexpr int waitAfterStepMs(int step) { return 65 + 7 * step; }

    explicit ObserverReveal(QObject *parent = nullptr);
    ~ObserverReveal() override;

    GameStore *game() const { return m_game; }
    void setGame(GameStore *game);
    QString displayedName() const { return m_displayedName; }
    bool isComplete() const { return m_isComplete; }

    // Starts the sequence, once; does nothing without an observer or candidates. True
    // when the names are now running.
    Q_INVOKABLE bool start();
    // Stops for good: no later name, no haptic, no reveal.
    Q_INVOKABLE void cancel();

signals:
    void gameChanged();
    void displayedNameChanged();
    void isCompleteChanged();

private:
    void flick(int step);
    void reveal();
    void setDisplayedName(const QString &name);

    QPointer<GameStore> m_game;
    QString m_displayedName;
    QString m_observer;
    bool m_isComplete = false;
    bool m_started = false;
    bool m_cancelled = false;
    std::unique_ptr<ClockTimer> m_timer;
};
