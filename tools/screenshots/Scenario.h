#pragma once

#include <QList>
#include <QString>
#include <functional>

class ScreenshotStage;
class StoreRig;

// One picture: a store brought into some state on fakes, shown through the real router
// (or a review page of components), then optionally acted on as a person would.
struct Scenario
{
    QString name;
    QString description;
    // Runs on the fresh store before the window is built.
    std::function<void(StoreRig &)> prepare;
    // Runs on the built window: taps, drags, the passing of time.
    std::function<void(ScreenshotStage &)> act;
    // A page in place of the game's window, e.g. "qrc:/screenshots/ComponentSheet.qml".
    QString page;

    // Every scenario the tool knows, in the order it renders them.
    static const QList<Scenario> &all();
};
