#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <memory>

class ClockTimer;
class GameStore;

// The throw of the word card on the play screen. A release far enough to the side sends
// the card off; the store hears of it only once the card has left, and the report carries
// the turn it was thrown in, so a late one never counts in a later turn (ending a turn and
// starting the next takes two quick taps). Destroying it drops a report still on its way;
// by then the turn is over and the store would ignore it anyway.
class CardThrow : public QObject
{
    Q_OBJECT
    Q_MOC_INCLUDE("GameStore.h")
    Q_PROPERTY(GameStore *game READ game WRITE setGame NOTIFY gameChanged)
    Q_PROPERTY(bool isLeaving READ isLeaving NOTIFY isLeavingChanged)
    Q_PROPERTY(double acceptDistance READ acceptDistance CONSTANT)

public:
    // Farther than this sideways, a release throws the card.
    static constexpr double acceptDistanceValue = 70.0;
    // From the release to the report: the card's flight, and a little more.
    static constexpr std::chrono::milliseconds reportDelay{210};

    explicit CardThrow(QObject *parent = nullptr);
    ~CardThrow() override;

    GameStore *game() const { return m_game; }
    void setGame(GameStore *game);
    bool isLeaving() const { return m_isLeaving; }
    double acceptDistance() const { return acceptDistanceValue; }

    // A drag let go dx points sideways (positive to the right). Returns true when the card
    // is thrown; false when it should spring back, or when a card is already leaving.
    Q_INVOKABLE bool release(double dx);

signals:
    void gameChanged();
    void isLeavingChanged();
    // The store has been told of a throw of dx; the card can rest again.
    void landed(double dx);

private:
    void land(double dx, qint64 turn);
    void setLeaving(bool leaving);

    QPointer<GameStore> m_game;
    bool m_isLeaving = false;
    std::unique_ptr<ClockTimer> m_timer;
};
