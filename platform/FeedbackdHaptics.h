#pragma once

#include "Haptics.h"

#include <QString>

// Vibrations through feedbackd (the haptics daemon of Linux phones) on the session
// bus. Calls are asynchronous and fire-and-forget; without a bus or a daemon
// nothing happens.
class FeedbackdHaptics final : public Haptics
{
public:
    explicit FeedbackdHaptics(QString appId = QStringLiteral("tarvuke.glimp"));

    void notify(HapticCue cue) override;

    // feedbackd has no success/warning/error events: these are the events of its
    // default theme that vibrate briefly, distinct from one another.
    static QString eventFor(HapticCue cue);

private:
    QString m_appId;
};
