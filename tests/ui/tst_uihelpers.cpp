#include "CircleShadow.h"
#include "GlyphArt.h"
#include "IconCatalog.h"
#include "SpringMotion.h"
#include "SteppedAnimationDriver.h"
#include "UiAssets.h"

#include <QDirIterator>
#include <QFile>
#include <QFontMetricsF>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QRawFont>
#include <QRegularExpression>
#include <QtTest>
#include <cmath>
#include <complex>
#include <numbers>

using namespace Qt::StringLiterals;

namespace {

// Offsets from the target of SpringAnimation's own stepping, released at rest.
QList<double> steppedOffsets(SpringMotion::Parameters p, int steps)
{
    QList<double> offsets{1.0};
    double x = 1;
    double v = 0;
    for (int i = 0; i < steps; ++i) {
        v += p.spring * (0 - x) - p.damping * v;
        x += v * SpringMotion::stepSeconds;
        offsets.append(x);
    }
    return offsets;
}

} // namespace

// C++ checks of what the components stand on: the compiled-in icons (from an npm package;
// without them the software renderer quietly draws boxes, so these checks are the only
// alarm) and the spring conversion behind every animation.
class TestUiHelpers : public QObject
{
    Q_OBJECT

    static QString text(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase() { QVERIFY(UiAssets::install()); }

    // Each glyph icon is a real glyph of the Fill face, and the code point is the one the
    // icon set itself gives for the Phosphor icon it stands for.
    void iconsAreGlyphsOfTheIconFont()
    {
        const QString css = text(QStringLiteral(GLIMP_PHOSPHOR_CSS_DIR "/fill/style.css"));
        for (const IconCatalog::Glyph &glyph : IconCatalog::glyphs()) {
            if (glyph.phosphorName.isEmpty())
                continue;
            const QRegularExpression rule(
                    QStringLiteral("\\.ph-fill\\.ph-%1:before\\s*\\{\\s*content:\\s*\"\\\\([0-9a-f]+)\"")
                            .arg(QRegularExpression::escape(glyph.phosphorName)));
            const QRegularExpressionMatch match = rule.match(css);
            QVERIFY2(match.hasMatch(), qPrintable(glyph.phosphorName));
            QCOMPARE(match.captured(1).toUInt(nullptr, 16), uint(glyph.codePoint));
            QVERIFY2(QFontMetricsF(QFont(u"Phosphor-Fill"_s)).inFontUcs4(glyph.codePoint), qPrintable(glyph.name));
        }
    }

    // Every icon name written in an Icon of the game's QML is in the catalogue; a name
    // chosen by an expression ("a" : "b") counts each of its literals.
    void iconNamesUsedByTheScreensAreKnown()
    {
        const QRegularExpression iconBlock(QStringLiteral("\\bIcon\\s*\\{([^{}]*)\\}"));
        const QRegularExpression nameLine(QStringLiteral("\\bname:([^\\n]*)"));
        const QRegularExpression literal(QStringLiteral("\"([^\"]*)\""));
        QStringList known;
        for (const IconCatalog::Glyph &glyph : IconCatalog::glyphs())
            known.append(glyph.name);
        int uses = 0;
        for (const QString folder : {QStringLiteral("ui"), QStringLiteral("app")}) {
            QDirIterator files(QStringLiteral(GLIMP_SOURCE_DIR "/") + folder,
                               {QStringLiteral("*.qml")}, QDir::Files, QDirIterator::Subdirectories);
            while (files.hasNext()) {
                const QString path = files.next();
                for (const auto &block : iconBlock.globalMatch(text(path))) {
                    for (const auto &name : literal.globalMatch(nameLine.match(block.captured(1)).captured(1))) {
                        ++uses;
                        QVERIFY2(known.contains(name.captured(1)), qPrintable(path + ": " + name.captured(1)));
                    }
                }
            }
        }
        QVERIFY(uses > 0);
    }

    // The shadow of a face 100 across with a blur of 8: solid to 42 from the centre, half
    // at the face's edge (50), gone at 58; opaque whatever alpha the colour has (the drawing
    // applies it), at twice the pixels on a window of twice the density.
    void shadowFadesOutOverTheBlur()
    {
        const QColor ink(0x1d, 0x1b, 0x33, 40);
        const QImage image = CircleShadow::paint(100, 8, ink, 1);
        QCOMPARE(image.size(), QSize(116, 116));
        const auto alphaAt = [&](int radius) { return qAlpha(image.pixel(58 + radius, 58)); };
        QCOMPARE(alphaAt(0), 255);
        QCOMPARE(QColor::fromRgba(image.pixel(58, 58)).rgb(), ink.rgb());
        QCOMPARE(alphaAt(41), 255);
        QVERIFY2(qAbs(alphaAt(50) - 128) <= 8, qPrintable(QString::number(alphaAt(50))));
        QVERIFY(alphaAt(46) > alphaAt(50) && alphaAt(50) > alphaAt(54) && alphaAt(54) > alphaAt(57));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(CircleShadow::paint(100, 8, ink, 2).size(), QSize(232, 232));
        QVERIFY(CircleShadow::paint(0, 0, ink, 1).isNull());

        CircleShadow item;
        item.setDiameter(275);
        item.setBlur(7);
        QCOMPARE(item.size(), QSizeF(289, 289));
        item.setDiameter(qQNaN());
        QCOMPARE(item.size(), QSizeF(14, 14));
    }

    // hb-view writes glyphs as cairo does: symbols with cairo 1.16 (Debian 12), groups with
    // 1.18 (Debian 13); each placed by <use>. Anything else is refused whole, not half drawn.
    void glyphArtReadsWhatHbViewWrites_data()
    {
        QTest::addColumn<QByteArray>("svg");
        QTest::addColumn<QRectF>("bounds"); // empty: refused
        const QByteArray square = "<path style=\"stroke:none;\" d=\"M 0 0 L 2 0 L 2 -2 L 0 -2 Z \"/>";
        QTest::newRow("cairo 1.16")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10pt\" height=\"8pt\" viewBox=\"0 0 10 8\" version=\"1.1\">\n"
            "<defs><g><symbol overflow=\"visible\" id=\"glyph0-0\">" + square + "</symbol></g></defs>\n"
            "<g id=\"surface1\"><rect x=\"0\" y=\"0\" width=\"10\" height=\"8\" style=\"fill:rgb(100%,100%,100%);\"/>\n"
            "<g style=\"fill:rgb(0%,0%,0%);\"><use xlink:href=\"#glyph0-0\" x=\"1\" y=\"6\"/><use xlink:href=\"#glyph0-0\" x=\"5\" y=\"6\"/></g></g></svg>"
            << QRectF(1, 4, 6, 2);
        QTest::newRow("cairo 1.18")
            << "<svg width=\"10\" height=\"8\" viewBox=\"0 0 10 8\"><defs><g><g id=\"glyph-0-0\">" + square
                   + "</g></g></defs><g fill=\"rgb(0%, 0%, 0%)\"><use href=\"#glyph-0-0\" x=\"3\" y=\"6\"/></g></svg>"
            << QRectF(3, 4, 2, 2);
        QTest::newRow("relative and level moves")
            << QByteArray("<svg viewBox=\"0,0 4 4\"><path d=\"m1,1h2v2H1z m1.5.5 l-.5 5e-1z\"/></svg>")
            << QRectF(1, 1, 2, 2);
        QTest::newRow("curves") << QByteArray("<svg viewBox=\"0 0 4 4\"><path d=\"M0 0Q4 0 4 4C0 4 0 4 0 0\"/></svg>")
                                << QRectF(0, 0, 4, 4);
        const QList<std::pair<const char *, QByteArray>> refused{
            {"empty", ""},
            {"not SVG", "<html><path d=\"M0 0L1 1\"/></html>"},
            {"no viewBox", "<svg width=\"4\" height=\"4\"><path d=\"M0 0L1 1\"/></svg>"},
            {"empty viewBox", "<svg viewBox=\"0 0 0 4\"></svg>"},
            {"unclosed", "<svg viewBox=\"0 0 4 4\"><path d=\"M0 0L1 1\"/>"},
            {"unterminated tag", "<svg viewBox=\"0 0 4 4\"><path d=\"M0 0L1 1"},
            {"unquoted", "<svg viewBox=0></svg>"},
            {"half a point", "<svg viewBox=\"0 0 4 4\"><path d=\"M0 0L1\"/></svg>"},
            {"numbers first", "<svg viewBox=\"0 0 4 4\"><path d=\"0 0L1 1\"/></svg>"},
            {"numbers after a close", "<svg viewBox=\"0 0 4 4\"><path d=\"M0 0L1 1Z 2 2\"/></svg>"},
            {"arc", "<svg viewBox=\"0 0 4 4\"><path d=\"M0 0A1 1 0 0 1 2 2\"/></svg>"},
            {"infinite", "<svg viewBox=\"0 0 4 4\"><path d=\"M0 0L1e999 1\"/></svg>"},
            {"transformed", "<svg viewBox=\"0 0 4 4\"><g transform=\"scale(2)\"><path d=\"M0 0L1 1\"/></g></svg>"},
            {"unknown glyph", "<svg viewBox=\"0 0 4 4\"><use xlink:href=\"#glyph9\" x=\"0\" y=\"0\"/></svg>"},
            {"bad place", "<svg viewBox=\"0 0 4 4\"><defs><g id=\"a\"/></defs><use href=\"#a\" x=\"one\"/></svg>"},
            {"too many ends", "<svg viewBox=\"0 0 4 4\"></svg></svg>"},
        };
        for (const auto &[tag, svg] : refused)
            QTest::newRow(tag) << svg << QRectF();
    }

    void glyphArtReadsWhatHbViewWrites()
    {
        QFETCH(QByteArray, svg);
        QFETCH(QRectF, bounds);
        const std::optional<GlyphArt::Art> art = GlyphArt::parse(svg);
        QCOMPARE(art.has_value(), !bounds.isEmpty());
        if (art)
            QCOMPARE(art->outline.boundingRect(), bounds);
    }

    // The build set the home screen's title and badge from the fonts: each art is its text
    // in its face and size, as wide as the glyphs' advances (kerning aside), as high as the
    // face's ascent and descent, each glyph where a line of text puts it.
    void glyphArtIsWhatTheBuildSet_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("font");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("badge") << u"badge.svg"_s << u":/fonts/Phosphor-Fill.ttf"_s << 22
                               << QString(QChar(0xe178));
        QTest::newRow("tarvuk’s") << u"tarvuks.svg"_s << u":/fonts/Nunito-Black.ttf"_s << 42
                                  << u"tarvuk’s"_s;
        QTest::newRow("glimp")
            << u"glimp.svg"_s
            << QStringLiteral(GLIMP_NODE_MODULES
                              "/@expo-google-fonts/noto-serif/900Black_Italic/NotoSerif_900Black_Italic.ttf")
            << 66 << u"glimp"_s;
    }

    void glyphArtIsWhatTheBuildSet()
    {
        QFETCH(QString, art);
        QFETCH(QString, font);
        QFETCH(int, size);
        QFETCH(QString, text);
        QFile file(u":/art/"_s + art);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::optional<GlyphArt::Art> set = GlyphArt::parse(file.readAll());
        QVERIFY(set);
        const QRawFont face(font, size);
        QVERIFY(face.isValid());
        const QList<quint32> glyphs = face.glyphIndexesForString(text);
        QVERIFY(!glyphs.contains(0));
        const QList<QPointF> advances = face.advancesForGlyphIndexes(glyphs);
        qreal pen = 0;
        QRectF letters;
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            letters |= face.pathForGlyph(glyphs[i]).boundingRect().translated(pen, face.ascent());
            pen += advances[i].x();
        }
        QVERIFY2(qAbs(set->size.width() - pen) < 0.02 * pen,
                 qPrintable(u"%1 vs %2"_s.arg(set->size.width()).arg(pen)));
        QVERIFY(qAbs(set->size.height() - (face.ascent() + face.descent())) < 0.5);
        const QRectF drawn = set->outline.boundingRect();
        for (const qreal offset : {drawn.left() - letters.left(), drawn.top() - letters.top(),
                                   drawn.right() - letters.right(), drawn.bottom() - letters.bottom()})
            QVERIFY2(qAbs(offset) < 2, qPrintable(QString::number(offset)));
        // Filled as a font's rasteriser fills: no hole where a glyph's contours overlap
        // (Nunito's do).
        QPainterPath nonzero = set->outline;
        nonzero.setFillRule(Qt::WindingFill);
        int holes = 0;
        for (qreal y = drawn.top(); y < drawn.bottom(); y += 0.5) {
            for (qreal x = drawn.left(); x < drawn.right(); x += 0.5)
                holes += nonzero.contains(QPointF(x, y)) && !set->outline.contains(QPointF(x, y));
        }
        QCOMPARE(holes, 0);
    }

    // Painted in its colour at the window's density, the italic g's overhang to the left of
    // the line included; an item takes its art's size, and none when there is none.
    void glyphArtPaintsItsArt()
    {
        QFile file(u":/art/glimp.svg"_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::optional<GlyphArt::Art> title = GlyphArt::parse(file.readAll());
        QVERIFY(title);
        const QColor coral(0xff, 0x73, 0x5e);
        const QRectF area = GlyphArt::area(*title);
        QVERIFY(area.left() < 0 && area.right() >= title->size.width() && area.top() <= 0);
        const QImage image = GlyphArt::paint(*title, coral, 2);
        QCOMPARE(image.size(), (area.size() * 2).toSize());
        int solid = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) == 255) {
                    QCOMPARE(QColor(pixel), coral);
                    ++solid;
                }
            }
        }
        // About a fifth of the line's box is ink.
        const double share = solid / (4 * title->size.width() * title->size.height());
        QVERIFY2(share > 0.1 && share < 0.4, qPrintable(QString::number(share)));

        GlyphArt item;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot read"_s));
        item.setSource(u":/art/missing.svg"_s);
        QCOMPARE(item.implicitWidth(), 0);
        item.setSource(u":/art/glimp.svg"_s);
        QCOMPARE(QSizeF(item.implicitWidth(), item.implicitHeight()), title->size);
    }

    // The stepping with the computed values follows the continuous oscillator's recurrence
    // e(t+h) = T·e(t) − D·e(t−h) at every step, for under-, critically and over-damped
    // springs: T and D are the sum and the product of e^(λh) over the roots λ of
    // λ² + 2ζωλ + ω² = 0.
    void followsClosedForm_data()
    {
        QTest::addColumn<double>("response");
        QTest::addColumn<double>("zeta");
        QTest::newRow("screen change") << 0.42 << 0.82;
        QTest::newRow("bouncy") << 0.4 << 0.3;
        QTest::newRow("critical") << 0.5 << 1.0;
        QTest::newRow("overdamped") << 0.3 << 1.6;
        QTest::newRow("heavy") << 0.3 << 5.0;
    }

    void followsClosedForm()
    {
        QFETCH(double, response);
        QFETCH(double, zeta);
        const double omega = 2 * std::numbers::pi / response;
        const std::complex<double> spread = omega * std::sqrt(std::complex<double>(zeta * zeta - 1));
        const std::complex<double> a = std::exp((-zeta * omega + spread) * SpringMotion::stepSeconds);
        const std::complex<double> b = std::exp((-zeta * omega - spread) * SpringMotion::stepSeconds);
        const double T = (a + b).real();
        const double D = (a * b).real();
        const QList<double> e = steppedOffsets(SpringMotion::fromResponse(response, zeta), 120);
        for (int n = 1; n + 1 < e.size(); ++n)
            QVERIFY2(std::abs(e[n + 1] - (T * e[n] - D * e[n - 1])) < 1e-9, qPrintable(QString::number(n)));
    }

    // Nonsense in gives a spring that stands still or creeps, never a growing swing,
    // infinities or NaN.
    void degenerateInput()
    {
        for (auto [response, zeta] : {std::pair{0.0, 0.8}, {-1.0, 0.8}, {std::nan(""), 0.8}, {0.4, -2.0},
                                      {0.4, 1e9}, {0.4, std::numeric_limits<double>::infinity()}}) {
            const auto p = SpringMotion::fromResponse(response, zeta);
            QVERIFY(std::isfinite(p.spring) && p.spring >= 0 && p.damping >= 0 && p.damping <= 1);
        }
    }

    // Qt Quick's own SpringAnimation, driven by the helper through ResponseSpring, moves as the
    // stepping above: the conversion fits the toolkit, not only our model of it.
    void realSpringAnimation()
    {
        SteppedAnimationDriver driver;
        driver.install();

        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport TarvukeGlimp.Components\n"
                          "Item { Behavior on x { ResponseSpring { response: 0.42; dampingFraction: 0.82 } } }",
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        auto *item = qobject_cast<QQuickItem *>(object.get());
        item->setX(100);
        const QList<double> expected = steppedOffsets(SpringMotion::fromResponse(0.42, 0.82), 80);
        item->setProperty("x", 0.0);
        // Qt may spend a tick or two starting the animation; from its first move on, every
        // tick must be exactly one step of the model.
        QList<double> ticks;
        for (int n = 0; n < 70; ++n) {
            driver.advanceBy(SteppedAnimationDriver::stepMs);
            if (!ticks.isEmpty() || item->x() != 100)
                ticks.append(item->x() / 100);
        }
        QVERIFY(ticks.size() >= 60);
        const qsizetype start = std::abs(ticks[0] - expected[1]) < 1e-9 ? 1 : 2;
        for (qsizetype n = 0; n < 60; ++n)
            QVERIFY2(std::abs(ticks[n] - expected[start + n]) < 1e-9, qPrintable(QString::number(n)));
        driver.uninstall();
    }
};

QTEST_MAIN(TestUiHelpers)

#include "tst_uihelpers.moc"
