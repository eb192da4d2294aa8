#pragma once

#include "Haptics.h"

#include <QList>

// Records every cue in order.
class FakeHaptics final : public Haptics
{
public:
    void notify(HapticCue cue) override { cues.append(cue); }

    QList<HapticCue> cues;
};
