#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// Which view shows which screen. Views live in the screens module as HomeView.qml and so
// on; a screen whose view has not been written yet has none, and the router then shows
// only the paper.
class ScreenViews : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    // "HomeView" for "home"; empty for a name that is no screen.
    static QString viewName(const QString &screenName);

    // The view's file among the compiled-in resources, or an empty URL when there is none.
    Q_INVOKABLE static QUrl urlFor(const QString &screenName);

    using QObject::QObject;
};
