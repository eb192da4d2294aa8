#include "SystemRandom.h"

#include <QRandomGenerator>

quint64 SystemRandom::bounded(quint64 bound)
{
    return QRandomGenerator::system()->bounded(bound);
}
