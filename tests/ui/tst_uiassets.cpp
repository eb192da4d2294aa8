#include "IconCatalog.h"
#include "UiAssets.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRawFont>
#include <QRegularExpression>
#include <QTextLayout>
#include <QtTest>

namespace {

QRawFont rawFont(const QString &file, qreal pixelSize = 40)
{
    QFile font(QStringLiteral(":/fonts/") + file);
    if (!font.open(QIODevice::ReadOnly))
        return {};
    return QRawFont(font.readAll(), pixelSize);
}

// The faces the text layout really draws text with.
QList<QGlyphRun> glyphRuns(const QFont &font, const QString &text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

// Set in font, the text is drawn in one run of face, glyph for glyph: no fallback font.
void verifyDrawnIn(const QFont &font, const QRawFont &face, const QString &text)
{
    const QList<QGlyphRun> runs = glyphRuns(font, text);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs[0].rawFont().familyName(), face.familyName());
    QCOMPARE(runs[0].rawFont().styleName(), face.styleName());
    QCOMPARE(runs[0].glyphIndexes(), face.glyphIndexesForString(text));
}


const QString cyrillic = QStringLiteral("СЪЕШЬ ЖЕ ЕЩЁ ЭТИХ МЯГКИХ ФРАНЦУЗСКИХ БУЛОК, да выпей чаю");

} // namespace

// The fonts and icons come from npm packages and are compiled in; without them the
// software renderer quietly draws boxes, so these checks are the only alarm.
class TestUiAssets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(UiAssets::install()); }

    void everyFaceIsCompiledIn()
    {
        QCOMPARE(UiAssets::fontFiles(),
                 (QStringList{":/fonts/NotoSerif-BlackItalic.ttf", ":/fonts/Nunito-Black.ttf",
                              ":/fonts/Nunito-Bold.ttf", ":/fonts/Nunito-Medium.ttf",
                              ":/fonts/Phosphor-Bold.ttf", ":/fonts/Phosphor-Fill.ttf"}));
    }

    // A font asked for by family and weight must be that very face: same family and its
    // own advances, not a look-alike picked by the system.
    void roundedWeightsResolveToNunito_data()
    {
        QTest::addColumn<int>("weight");
        QTest::addColumn<QString>("file");
        QTest::newRow("medium") << int(QFont::Medium) << "Nunito-Medium.ttf";
        QTest::newRow("bold") << int(QFont::Bold) << "Nunito-Bold.ttf";
        QTest::newRow("black") << int(QFont::Black) << "Nunito-Black.ttf";
    }

    void roundedWeightsResolveToNunito()
    {
        QFETCH(int, weight);
        QFETCH(QString, file);
        QFont font(QStringLiteral("Nunito"));
        font.setPixelSize(40);
        font.setWeight(QFont::Weight(weight));
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Nunito"));

        const QRawFont face = rawFont(file);
        QVERIFY(face.isValid());
        for (const uint c : cyrillic.toUcs4())
            QVERIFY2(face.supportsCharacter(c), qPrintable(QString::fromUcs4(&c, 1)));
        verifyDrawnIn(font, face, cyrillic);
    }

    void serifBlackItalic()
    {
        QFont font(QStringLiteral("Noto Serif"));
        font.setPixelSize(40);
        font.setWeight(QFont::Black);
        font.setItalic(true);
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Noto Serif"));
        QVERIFY(QFontInfo(font).italic());
        verifyDrawnIn(font, rawFont("NotoSerif-BlackItalic.ttf"), QStringLiteral("Слово"));
    }

    // Each icon name is a real glyph of its face, and the code point is the one the icon
    // set itself gives for the Phosphor icon it stands for.
    void iconsAreGlyphsOfTheIconFont()
    {
        const QHash<bool, QString> faces{{true, "fill"}, {false, "bold"}};
        for (const IconCatalog::Glyph &glyph : IconCatalog::glyphs()) {
            const QString face = faces.value(glyph.filled);
            QFile css(QStringLiteral(GLIMP_PHOSPHOR_CSS_DIR "/%1/style.css").arg(face));
            QVERIFY(css.open(QIODevice::ReadOnly));
            const QString styles = QString::fromUtf8(css.readAll());
            const QRegularExpression rule(
                    QStringLiteral("\\.ph-%1\\.ph-%2:before\\s*\\{\\s*content:\\s*\"\\\\([0-9a-f]+)\"")
                            .arg(face, QRegularExpression::escape(glyph.phosphorName)));
            const QRegularExpressionMatch match = rule.match(styles);
            QVERIFY2(match.hasMatch(), qPrintable(glyph.phosphorName));
            QCOMPARE(match.captured(1).toUInt(nullptr, 16), uint(glyph.codePoint));

            QFont font(IconCatalog::familyOf(glyph));
            QVERIFY2(QFontMetricsF(font).inFontUcs4(glyph.codePoint), qPrintable(glyph.name));
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
                               {QStringLiteral("*.qml")}, QDir::Files,
                               QDirIterator::Subdirectories);
            while (files.hasNext()) {
                const QString path = files.next();
                QFile file(path);
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QString source = QString::fromUtf8(file.readAll());
                for (const auto &block : iconBlock.globalMatch(source)) {
                    const auto name = nameLine.match(block.captured(1));
                    if (!name.hasMatch())
                        continue;
                    for (const auto &text : literal.globalMatch(name.captured(1))) {
                        ++uses;
                        QVERIFY2(known.contains(text.captured(1)),
                                 qPrintable(path + ": " + text.captured(1)));
                    }
                }
            }
        }
        QVERIFY(uses > 0);
    }
};

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    TestUiAssets test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_uiassets.moc"
