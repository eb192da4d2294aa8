#include "TarvukeGlimpApp.h"

#include <QGuiApplication>
#include <QQuickStyle>
#include <cstdio>

namespace {

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
           || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fputs("tarvuke-glimp: no display to open the game on; run it in a desktop session, "
                   "or in a virtual one: xvfb-run -s '-screen 0 390x844x24' ./scripts/play\n",
                   stderr);
        return 2;
    }

    QGuiApplication application(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("tarvuke"));
    QGuiApplication::setApplicationName(QStringLiteral("glimp"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("tarvuk’s glimp"));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.tarvuke.glimp"));
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    TarvukeGlimpApp app;
    if (!app.show())
        return 1;
    return application.exec();
}
