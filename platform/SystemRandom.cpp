#include "SystemRandom.h"

quint64 SystemRandom::bounded(quint64 bound)
{
    return m_generator.bounded(bound);
}
