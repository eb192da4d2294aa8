#include "Scenario.h"
#include "ScreenshotStage.h"
#include "SteppedAnimationDriver.h"
#include "UiAssets.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QQuickStyle>
#include <QQuickWindow>
#include <cstdio>

// Renders scenarios of the game offscreen at a phone's size (390 × 844 unless told) to PNG
// files, for review and for the README.
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // --scale must take effect before the application exists.
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--scale") == 0)
            qputenv("QT_SCALE_FACTOR", argv[i + 1]);
    }
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders the game's screens to PNG files."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("out"), QStringLiteral("Folder for the PNG files."),
                      QStringLiteral("dir"), QStringLiteral("artifacts/screenshots")});
    parser.addOption({QStringLiteral("list"), QStringLiteral("Lists the scenarios and exits.")});
    parser.addOption({QStringLiteral("scale"),
                      QStringLiteral("Renders at this many pixels per point, to look closely."),
                      QStringLiteral("factor"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("size"),
                      QStringLiteral("The window's size in points: widthxheight."),
                      QStringLiteral("size"), QStringLiteral("390x844")});
    parser.addOption({QStringLiteral("crop"),
                      QStringLiteral("Keeps only this rectangle, in points: x,y,width,height."),
                      QStringLiteral("rect")});
    parser.addPositionalArgument(QStringLiteral("scenario"),
                                 QStringLiteral("Names or wildcards (setup-*); all when none."));
    parser.process(app);

    if (parser.isSet(QStringLiteral("list"))) {
        for (const Scenario &scenario : Scenario::all())
            std::printf("%-24s %s\n", qPrintable(scenario.name), qPrintable(scenario.description));
        return 0;
    }

    QList<const Scenario *> chosen;
    const QStringList patterns = parser.positionalArguments();
    for (const Scenario &scenario : Scenario::all()) {
        bool wanted = patterns.isEmpty();
        for (const QString &pattern : patterns) {
            const QRegularExpression glob(QRegularExpression::wildcardToRegularExpression(pattern));
            wanted = wanted || glob.match(scenario.name).hasMatch();
        }
        if (wanted)
            chosen.append(&scenario);
    }
    if (chosen.isEmpty()) {
        std::fprintf(stderr, "No scenario matches %s; --list shows them.\n",
                     qPrintable(patterns.join(QLatin1Char(' '))));
        return 2;
    }

    if (!UiAssets::install()) {
        std::fputs("The fonts could not be registered.\n", stderr);
        return 1;
    }
    const QDir out(parser.value(QStringLiteral("out")));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "Cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    QRectF crop;
    if (parser.isSet(QStringLiteral("crop"))) {
        const QStringList parts = parser.value(QStringLiteral("crop")).split(QLatin1Char(','));
        if (parts.size() == 4)
            crop = QRectF(parts[0].toDouble(), parts[1].toDouble(), parts[2].toDouble(),
                          parts[3].toDouble());
        if (crop.isEmpty()) {
            std::fputs("--crop wants x,y,width,height in points\n", stderr);
            return 2;
        }
    }

    const QStringList sizeParts = parser.value(QStringLiteral("size")).split(QLatin1Char('x'));
    const QSize size = sizeParts.size() == 2 ? QSize(sizeParts[0].toInt(), sizeParts[1].toInt()) : QSize();
    if (size.isEmpty()) {
        std::fputs("--size wants widthxheight in points, e.g. 360x720\n", stderr);
        return 2;
    }

    SteppedAnimationDriver driver;
    driver.install();
    int failures = 0;
    for (const Scenario *scenario : chosen) {
        ScreenshotStage stage(*scenario, driver, size);
        const QString file = out.filePath(scenario->name + QStringLiteral(".png"));
        QImage image = stage.isReady() ? stage.grab() : QImage();
        if (!crop.isEmpty() && !image.isNull()) {
            const qreal ratio = stage.window()->devicePixelRatio();
            image = image.copy(QRectF(crop.topLeft() * ratio, crop.size() * ratio).toRect());
        }
        if (image.isNull() || !image.save(file)) {
            std::fprintf(stderr, "%s: failed\n", qPrintable(scenario->name));
            ++failures;
            continue;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return failures == 0 ? 0 : 1;
}
