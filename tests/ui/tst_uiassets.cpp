#include "IconCatalog.h"
#include "UiAssets.h"

#include <QDirIterator>
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QtTest>

// The icons come from an npm package and are compiled in; without them the software
// renderer quietly draws boxes, so these checks are the only alarm.
class TestUiAssets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(UiAssets::install()); }

    // Each glyph icon is a real glyph of the Fill face, and the code point is the one the
    // icon set itself gives for the Phosphor icon it stands for.
    void iconsAreGlyphsOfTheIconFont()
    {
        for (const IconCatalog::Glyph &glyph : IconCatalog::glyphs()) {
            if (glyph.phosphorName.isEmpty())
                continue;
            const QString face = QStringLiteral("fill");
            QFile css(QStringLiteral(GLIMP_PHOSPHOR_CSS_DIR "/fill/style.css"));
            QVERIFY(css.open(QIODevice::ReadOnly));
            const QRegularExpression rule(
                    QStringLiteral("\\.ph-%1\\.ph-%2:before\\s*\\{\\s*content:\\s*\"\\\\([0-9a-f]+)\"")
                            .arg(face, QRegularExpression::escape(glyph.phosphorName)));
            const QRegularExpressionMatch match = rule.match(QString::fromUtf8(css.readAll()));
            QVERIFY2(match.hasMatch(), qPrintable(glyph.phosphorName));
            QCOMPARE(match.captured(1).toUInt(nullptr, 16), uint(glyph.codePoint));
            QVERIFY2(QFontMetricsF(QFont(u"Phosphor-Fill"_qs)).inFontUcs4(glyph.codePoint),
                     qPrintable(glyph.name));
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
                QFile file(path);
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QString source = QString::fromUtf8(file.readAll());
                for (const auto &block : iconBlock.globalMatch(source)) {
                    const auto name = nameLine.match(block.captured(1));
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
