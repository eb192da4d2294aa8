#include "BuiltInWords.h"
#include "WordRules.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestWordRules : public QObject
{
    Q_OBJECT

private slots:
    void wordKeys_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("ё and Е") << u"ёжик"_s << u"ЕЖИК"_s << true;
        QTest::newRow("end spaces") << u"ёжик"_s << u" Ежик "_s << true;
        QTest::newRow("й and и") << u"йод"_s << u"иод"_s << true;
        QTest::newRow("latin accents") << u"Café"_s << u"cafe"_s << true;
        QTest::newRow("decomposed ё") << u"е\u0308жик"_s << u"ежик"_s << true;
        QTest::newRow("inner spaces stay") << u"Воздушный  шар"_s << u"воздушный шар"_s << false;
        QTest::newRow("letters stay") << u"мел"_s << u"мель"_s << false;
        // A long word is folded in pieces; the cut must not part a vowel sign from its
        // consonant, which compose into one character.
        QTest::newRow("no cut inside a character") << QString(255, u'a') + u"\u09C7\u09BE"_s
                                                   << QString(255, u'a') + u"\u09CB"_s << true;
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
            const QString word = u"Я"_s + QChar(c) + u"z"_s;
            QCOMPARE(wordKey(word), reference(word));
        }
        for (Difficulty d : allDifficulties()) {
            for (const QString &word : builtInWords(d))
                QCOMPARE(wordKey(word), reference(word));
        }
    }

    // Both cut at every line break (CRLF once), trim Unicode white space, drop empties and
    // keep duplicates in order; player names are also cut at U+002C and nothing else, and
    // also trim the characters that show nothing.
    void splitting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("names");
        const QString breaks = u"a\nb\u000Bc\u000Cd\re\r\nf\u0085g\u2028h\u2029i"_s;
        const QStringList nine{"a", "b", "c", "d", "e", "f", "g", "h", "i"};
        QTest::newRow("every break") << breaks << nine << nine;
        QTest::newRow("blank lines and spaces")
                << u"слон\n\n  Слон  \r\nжираф\n"_s << QStringList{u"слон"_s, u"Слон"_s, u"жираф"_s}
                << QStringList{u"слон"_s, u"Слон"_s, u"жираф"_s};
        QTest::newRow("unicode white space only") << u"  \n\t\n\u00A0\u3000\n"_s << QStringList() << QStringList();
        QTest::newRow("inner spaces stay") << u"  Мария  Петровна "_s
                                           << QStringList{u"Мария  Петровна"_s} << QStringList{u"Мария  Петровна"_s};
        QTest::newRow("duplicates") << u"Петя\nПетя"_s << QStringList{u"Петя"_s, u"Петя"_s}
                                    << QStringList{u"Петя"_s, u"Петя"_s};
        QTest::newRow("commas") << u"Аня, Борис\n,, Вика ,"_s << QStringList{u"Аня, Борис"_s, u",, Вика ,"_s}
                                << QStringList{u"Аня"_s, u"Борис"_s, u"Вика"_s};
        QTest::newRow("other commas") << u"a;b，c،d"_s << QStringList{u"a;b，c،d"_s} << QStringList{u"a;b，c،d"_s};
        QTest::newRow("comma with a combining mark") << u"a,\u0301b"_s << QStringList{u"a,\u0301b"_s}
                                                     << QStringList{u"a,\u0301b"_s};
        // Qt's segmentation of the whole text splits this comma from its mark.
        const QString joined = u",\u0301\uFF0C\u0308;\u0306\u20DD\u0345\u0903"_s;
        QTest::newRow("comma with a mark, a spacing mark later") << joined << QStringList{joined}
                                                                 << QStringList{joined};
        // A name of nothing but invisible characters is no player, and a real name loses
        // them at its ends; a word keeps them, as typed.
        const QStringList invisible{u"\u200B"_s, u"\u200C"_s, u"\u200D"_s, u"\u2060"_s,
                                    u"\uFEFF"_s, u"\u00AD"_s, u"\u200E"_s, u"\u200F"_s,
                                    u"\u202A\u202B\u202C\u202D\u202E"_s,
                                    u"\u2066\u2067\u2068\u2069"_s, u"\uFE0F"_s, u"\u034F"_s,
                                    u"\u3164"_s, u"\U000E0067\U000E007F"_s, u" \u200B\t\u200D "_s};
        QStringList invisibleLines;
        for (const QString &line : invisible)
            invisibleLines << line.trimmed();
        QTest::newRow("invisible characters alone") << invisible.join(u'\n') << invisibleLines
                                                    << QStringList();
        QTest::newRow("invisible characters and a comma") << u"\u200B,\u200D, \u2060"_s
                                                          << QStringList{u"\u200B,\u200D, \u2060"_s}
                                                          << QStringList();
        const QString ends = u"\u200FАня\u200B\n\uFEFF Борис \u2060\n\u202EБоб\nZoë\u200D\n\u00ADЯн\u00AD"_s;
        QTest::newRow("invisible ends") << ends << ends.split(u'\n')
                                        << QStringList{u"Аня"_s, u"Борис"_s, u"Боб"_s, u"Zoë"_s, u"Ян"_s};
        // Joiners inside a name, a variation selector or a flag's tags after its last
        // character: all part of what shows.
        const QStringList kept{u"👩\u200D👩\u200D👧"_s, u"علی\u200Cرضا"_s, u"क्\u200Dष"_s,
                          u"Ян \u202EБоб"_s, u"Даша ❤\uFE0F"_s,
                          u"🏴\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F"_s,
                          u"#\uFE0F\u20E3"_s};
        QTest::newRow("joined inside, selected after") << kept.join(u'\n') << kept << kept;
        QTest::newRow("a selector after nothing") << u"Ян\u200B\uFE0F\n\uFE0FЯн"_s
                                                  << QStringList{u"Ян\u200B\uFE0F"_s, u"\uFE0FЯн"_s}
                                                  << QStringList{u"Ян"_s, u"Ян"_s};
        QTest::newRow("a comma before a joiner parts names") << u"Аня,\u200DБорис,\uFE0FВика"_s
                                                             << QStringList{u"Аня,\u200DБорис,\uFE0FВика"_s}
                                                             << QStringList{u"Аня"_s, u"Борис"_s, u"Вика"_s};
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
