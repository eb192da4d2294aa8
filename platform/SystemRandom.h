#pragma once

#include "RandomSource.h"

// The operating system's random source.
class SystemRandom final : public RandomSource
{
public:
    quint64 bounded(quint64 bound) override;
};
