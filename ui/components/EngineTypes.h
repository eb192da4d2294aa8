#pragma once

#include "CardThrow.h"
#include "GameStore.h"
#include "ObserverReveal.h"

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

// The staging of the observer wheel, made by the wheel screen.
struct ObserverRevealForeign
{
    Q_GADGET
    QML_FOREIGN(ObserverReveal)
    QML_NAMED_ELEMENT(ObserverReveal)
};

// The throw of the play screen's word card, made by the play screen.
struct CardThrowForeign
{
    Q_GADGET
    QML_FOREIGN(CardThrow)
    QML_NAMED_ELEMENT(CardThrow)
};
