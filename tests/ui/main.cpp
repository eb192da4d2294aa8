#include "TestHarness.h"
#include "UiAssets.h"

#include <QtQuickTest>

using namespace Qt::StringLiterals;

// Runs one tst_*.qml file (-input) with the game's fonts, its QML modules and the harness.
class UiTestSetup : public QObject
{
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        UiAssets::install();
        qmlRegisterSingletonType<TestHarness>("TarvukeGlimp.Testing", 1, 0, "TestHarness",
                                              [](QQmlEngine *, QJSEngine *) { return new TestHarness; });
    }

    void qmlEngineAvailable(QQmlEngine *engine) { engine->addImportPath(u"qrc:/qt/qml"_s); }
};

QUICK_TEST_MAIN_WITH_SETUP(glimp_ui, UiTestSetup)

#include "main.moc"
