#pragma once

enum class HapticCue { success, warning, error };

// Short notification vibrations.
class Haptics
{
public:
    virtual ~Haptics() = default;
    virtual void notify(HapticCue cue) = 0;
};
