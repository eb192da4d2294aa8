#include "Scenario.h"
#include "ScreenshotStage.h"
#include "SteppedAnimationDriver.h"
#include "UiAssets.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;

// The screenshot tool's scenarios show what their lines say.
class TestScenarios : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(UiAssets::install());
        m_driver.install();
    }

    // Halfway through the change from home to the setup screen: the two screens on view,
    // the new one about half in, the old one about half out.
    void crossFadeIsHalfway()
    {
        const auto &all = Scenario::all();
        const auto scenario = std::find_if(all.begin(), all.end(),
                                           [](const Scenario &s) { return s.name == "setup-crossfade"_L1; });
        QVERIFY(scenario != all.end());
        ScreenshotStage stage(*scenario, m_driver);
        QVERIFY(stage.isReady());
        const QQuickItem *router = stage.window()->contentItem()->childItems().value(0);
        const auto *current = router->property("current").value<QQuickItem *>();
        QVERIFY(current);
        QStringList shown;
        for (const QQuickItem *layer : current->parentItem()->childItems()) {
            shown << layer->property("screenName").toString();
            QVERIFY2(layer->opacity() > 0.4 && layer->opacity() < 0.6,
                     qPrintable(shown.last() + u" at "_s + QString::number(layer->opacity())));
        }
        QCOMPARE(shown, QStringList({u"home"_s, u"setup"_s}));
    }

private:
    SteppedAnimationDriver m_driver;
};

QTEST_MAIN(TestScenarios)

#include "tst_scenarios.moc"
