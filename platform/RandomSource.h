#pragma once

#include <QtGlobal>

// Uniform random numbers for shuffles and picks.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // A number drawn uniformly from [0, bound); bound must be at least 1.
    virtual quint64 bounded(quint64 bound) = 0;
};
