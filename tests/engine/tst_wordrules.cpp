#include "BuiltInWords.h"
#include "WordRules.h"

#include <QTest>

class TestWordRules : public QObject
{
    Q_OBJECT

private slots:
    void wordKeyFoldsCaseAndDiacritics_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("ё and Е") << u"ёжик"_qs << u"ЕЖИК"_qs;
        QTest::newRow("end spaces") << u"ёжик"_qs << u" Ежик "_qs;
        QTest::newRow("й and и") << u"йод"_qs << u"иод"_qs;
        QTest::newRow("latin accents") << u"Café"_qs << u"cafe"_qs;
        QTest::newRow("tabs and newlines at ends") << u"\tслон\n"_qs << u"СЛОН"_qs;
        QTest::newRow("decomposed ё") << u"е\u0308жик"_qs << u"ежик"_qs;
    }
    void wordKeyFoldsCaseAndDiacritics()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QCOMPARE(wordKey(a), wordKey(b));
    }

    void wordKeyKeepsInnerSpacesAndLetters()
    {
        QCOMPARE(wordKey(u"  Воздушный  шар "_qs), u"воздушныи  шар"_qs);
        QVERIFY(wordKey(u"воздушный шар"_qs) != wordKey(u"воздушныйшар"_qs));
        QVERIFY(wordKey(u"мел"_qs) != wordKey(u"мель"_qs));
        QCOMPARE(wordKey(QString()), QString());
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

    void splitWordLinesCutsAtEveryBreak()
    {
        const QString text = u"a\nb\u000Bc\u000Cd\re\r\nf\u0085g\u2028h\u2029i"_qs;
        QCOMPARE(splitWordLines(text), (QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i"}));
        QCOMPARE(countWordLines(text), 9);
    }

    void splitWordLinesTrimsAndDropsBlanks()
    {
        // A word, a blank line, the word again with spaces and CRLF, a second word.
        const QString text = u"слон\n\n  Слон  \r\nжираф\n"_qs;
        QCOMPARE(splitWordLines(text), (QStringList{u"слон"_qs, u"Слон"_qs, u"жираф"_qs}));
        QCOMPARE(splitWordLines(u"  \n\t\n\u00A0\u3000\n"_qs), QStringList());
        QCOMPARE(countWordLines(u"  \n\t\n"_qs), 0);
        QCOMPARE(splitWordLines(u"  два  слова  "_qs), QStringList{u"два  слова"_qs});
        QCOMPARE(splitWordLines(u"a\na"_qs), (QStringList{"a", "a"}));
        // Zero-width space is not white space: it stays.
        QCOMPARE(splitWordLines(u"\u200B"_qs), QStringList{u"\u200B"_qs});
    }

    void playerNamesCutAtLinesAndCommasOnly()
    {
        QCOMPARE(playerNames(u"Аня, Борис\nВика"_qs),
                 (QStringList{u"Аня"_qs, u"Борис"_qs, u"Вика"_qs}));
        QCOMPARE(playerNames(u",,, \n\n  Дима  ,\r\n"_qs), QStringList{u"Дима"_qs});
        // Semicolons, full-width and Arabic commas are part of the name.
        QCOMPARE(playerNames(u"a;b，c،d"_qs), QStringList{u"a;b，c،d"_qs});
        QCOMPARE(playerNames(u"Петя\nПетя"_qs), (QStringList{u"Петя"_qs, u"Петя"_qs}));
        QCOMPARE(playerNames(u"Мария Петровна"_qs), QStringList{u"Мария Петровна"_qs});
        QCOMPARE(playerNames(u"a\u2028b\u0085c"_qs), (QStringList{"a", "b", "c"}));
        // A comma with a combining mark on it is one character, not a separator.
        QCOMPARE(playerNames(u"a,\u0301b"_qs), QStringList{u"a,\u0301b"_qs});
        QCOMPARE(playerNames(QString()), QStringList());
    }

    void builtInListsHaveTheirEntries()
    {
        QCOMPARE(builtInWords(Difficulty::easy).size(), 294);
        QCOMPARE(builtInWords(Difficulty::medium).size(), 314);
        QCOMPARE(builtInWords(Difficulty::hard).size(), 348);
        QCOMPARE(builtInWords(Difficulty::easy).first(), u"автобус"_qs);
        QCOMPARE(builtInWords(Difficulty::easy).last(), u"юбка"_qs);
        QCOMPARE(builtInWords(Difficulty::medium).last(), u"эскиз"_qs);
        QCOMPARE(builtInWords(Difficulty::hard).last(), u"эпистемология"_qs);
        QVERIFY(builtInWords(Difficulty::medium).contains(u"пресс-конференция"_qs));
        QVERIFY(builtInWords(Difficulty::hard).contains(u"социал-дарвинизм"_qs));
        for (Difficulty d : allDifficulties()) {
            QVERIFY(!builtInWordsText(d).endsWith(u'\n'));
            QSet<QString> keys;
            for (const QString &word : builtInWords(d)) {
                QVERIFY(!word.isEmpty());
                QCOMPARE(word, word.trimmed());
                QVERIFY2(!keys.contains(wordKey(word)), qPrintable(word));
                keys.insert(wordKey(word));
            }
        }
        QSet<QString> easy(builtInWords(Difficulty::easy).cbegin(), builtInWords(Difficulty::easy).cend());
        QSet<QString> medium(builtInWords(Difficulty::medium).cbegin(), builtInWords(Difficulty::medium).cend());
        QCOMPARE(easy.intersect(medium), (QSet<QString>{u"вентилятор"_qs, u"светофор"_qs, u"телескоп"_qs}));
    }
};

QTEST_GUILESS_MAIN(TestWordRules)
#include "tst_wordrules.moc"
