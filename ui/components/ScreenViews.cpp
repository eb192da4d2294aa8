#include "ScreenViews.h"

#include "GameTypes.h"

#include <QFile>

namespace {

QString viewOf(AppScreen screen)
{
    switch (screen) {
    case AppScreen::home:
        return QStringLiteral("HomeView");
    case AppScreen::setup:
        return QStringLiteral("SetupView");
    case AppScreen::formation:
        return QStringLiteral("FormationView");
    case AppScreen::observerWheel:
        return QStringLiteral("ObserverWheelView");
    case AppScreen::teams:
        return QStringLiteral("TeamEditorView");
    case AppScreen::ready:
        return QStringLiteral("ReadyView");
    case AppScreen::playing:
        return QStringLiteral("PlayView");
    case AppScreen::summary:
        return QStringLiteral("SummaryView");
    case AppScreen::winner:
        return QStringLiteral("WinnerView");
    case AppScreen::customWords:
        return QStringLiteral("CustomWordsView");
    }
    return {};
}

} // namespace

QString ScreenViews::viewName(const QString &screenName)
{
    const auto screen = screenFromName(screenName);
    return screen ? viewOf(*screen) : QString();
}

QUrl ScreenViews::urlFor(const QString &screenName)
{
    const QString view = viewName(screenName);
    if (view.isEmpty())
        return {};
    const QString path = QStringLiteral(":/qt/qml/TarvukeGlimp/Screens/%1.qml").arg(view);
    if (!QFile::exists(path))
        return {};
    return QUrl(QLatin1String("qrc") + path);
}
