#pragma once

// Keeps the screen from dimming and locking while a turn runs.
class IdleInhibitor
{
public:
    virtual ~IdleInhibitor() = default;
    // Both are idempotent: holding twice still needs one release.
    virtual void hold() = 0;
    virtual void release() = 0;
};
