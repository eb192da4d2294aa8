#pragma once

#include "GameStore.h"

#include <QQmlApplicationEngine>
#include <QQuickWindow>

// The game's window on game, as the app opens it; null when it could not be built.
inline QQuickWindow *loadGameWindow(QQmlApplicationEngine &engine, GameStore &game)
{
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.setInitialProperties({{QStringLiteral("game"), QVariant::fromValue(&game)}});
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/TarvukeGlimp/Main.qml")));
    return engine.rootObjects().isEmpty()
            ? nullptr
            : qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
}
