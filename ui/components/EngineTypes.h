#pragma once

#include "GameStore.h"

#include <QtQml/qqml.h>

// Makes the store's type known to QML without the engine depending on QML, so a screen can
// declare `required property GameStore game`.
struct GameStoreForeign
{
    Q_GADGET
    QML_FOREIGN(GameStore)
    QML_NAMED_ELEMENT(GameStore)
    QML_UNCREATABLE("The application owns the one store.")
};
