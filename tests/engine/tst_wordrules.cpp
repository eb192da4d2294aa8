#include "BuiltInWords.h"
#include "WordRules.h"

#include <QTest>

class TestWordRules : public QObject
{
    Q_OBJECT

private slots:
    void wordKeys_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("ё and Е") << u"ёжик"_qs << u"ЕЖИК"_qs << true;
        QTest::newRow("end spaces") << u"ёжик"_qs << u" Ежик "_qs << true;
        QTest::newRow("й and и") << u"йод"_qs << u"иод"_qs << true;
        QTest::newRow("latin accents") << u"Café"_qs << u"cafe"_qs << true;
        QTest::newRow("decomposed ё") << u"е\u0308жик"_qs << u"ежик"_qs << true;
        QTest::newRow("inner spaces stay") << u"Воздушный  шар"_qs << u"воздушный шар"_qs << false;
        QTest::newRow("letters stay") << u"мел"_qs << u"мель"_qs << false;
        // A long word is folded in pieces; the cut must not part a vowel sign from its
        // consonant, which compose into one character.
        QTest::newRow("no cut inside a character") << QString(255, u'a') + u"\u09C7\u09BE"_qs
                                                   << QString(255, u'a') + u"\u09CB"_qs << true;
    }
    void wordKeys()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(wordKey(a) == wordKey(b), same);
    }

    void wordKeyQuickPathAgreesWithTheFullFold()
    {
        // The reference fold, character by character, over the Latin and Cyrillic blocks.
        const auto reference = [](const QString &word) {
            const QString decomposed = word.trimmed().normalized(QString::NormalizationForm_D);
            QString key;
            for (const QChar c : decomposed) {
                if (c.category() != QChar::Mark_NonSpacing)
                    key.append(c);
            }
            return key.toCaseFolded().normalized(QString::NormalizationForm_C);
        };
        for (char16_t c = 0x20; c < 0x0530; ++c) {
            const QString word = u"Я"_qs + QChar(c) + u"z"_qs;
            QCOMPARE(wordKey(word), reference(word));
        }
        for (Difficulty d : allDifficulties()) {
            for (const QString &word : builtInWords(d))
                QCOMPARE(wordKey(word), reference(word));
        }
    }

    // Both cut at every line break (CRLF once), trim Unicode white space, drop empties and
    // keep duplicates in order; player names are also cut at U+002C and nothing else.
    void splitting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("names");
        const QString breaks = u"a\nb\u000Bc\u000Cd\re\r\nf\u0085g\u2028h\u2029i"_qs;
        const QStringList nine{"a", "b", "c", "d", "e", "f", "g", "h", "i"};
        QTest::newRow("every break") << breaks << nine << nine;
        QTest::newRow("blank lines and spaces")
                << u"слон\n\n  Слон  \r\nжираф\n"_qs << QStringList{u"слон"_qs, u"Слон"_qs, u"жираф"_qs}
                << QStringList{u"слон"_qs, u"Слон"_qs, u"жираф"_qs};
        QTest::newRow("unicode white space only") << u"  \n\t\n\u00A0\u3000\n"_qs << QStringList() << QStringList();
        QTest::newRow("inner spaces stay") << u"  Мария  Петровна "_qs
                                           << QStringList{u"Мария  Петровна"_qs} << QStringList{u"Мария  Петровна"_qs};
        QTest::newRow("duplicates") << u"Петя\nПетя"_qs << QStringList{u"Петя"_qs, u"Петя"_qs}
                                    << QStringList{u"Петя"_qs, u"Петя"_qs};
        QTest::newRow("commas") << u"Аня, Борис\n,, Вика ,"_qs << QStringList{u"Аня, Борис"_qs, u",, Вика ,"_qs}
                                << QStringList{u"Аня"_qs, u"Борис"_qs, u"Вика"_qs};
        QTest::newRow("other commas") << u"a;b，c،d"_qs << QStringList{u"a;b，c،d"_qs} << QStringList{u"a;b，c،d"_qs};
        QTest::newRow("comma with a combining mark") << u"a,\u0301b"_qs << QStringList{u"a,\u0301b"_qs}
                                                     << QStringList{u"a,\u0301b"_qs};
        // Qt's segmentation of the whole text splits this comma from its mark.
        const QString joined = u",\u0301\uFF0C\u0308;\u0306\u20DD\u0345\u0903"_qs;
        QTest::newRow("comma with a mark, a spacing mark later") << joined << QStringList{joined}
                                                                 << QStringList{joined};
        QTest::newRow("zero-width space is no space") << u"\u200B"_qs << QStringList{u"\u200B"_qs}
                                                      << QStringList{u"\u200B"_qs};
    }
    void splitting()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, names);
        QCOMPARE(splitWordLines(text), lines);
        QCOMPARE(countWordLines(text), lines.size());
        QCOMPARE(playerNames(text), names);
    }
};

QTEST_GUILESS_MAIN(TestWordRules)
#include "tst_wordrules.moc"
