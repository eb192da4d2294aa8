// What the setup screen shows before going on: whether teams can be formed and whether
// somebody will have to watch. Both must agree with what the store then does.
#include "StoreHarness.h"

#include <QScopeGuard>
#include <QSignalSpy>

#include <limits>

class TestSetupRules : public QObject
{
    Q_OBJECT

private slots:
    void predictionsMatchTheFormation_data()
    {
        QTest::addColumn<QString>("players");
        QTest::addColumn<bool>("canForm");
        QTest::addColumn<bool>("observer");
        QTest::newRow("empty") << QString() << false << false;
        QTest::newRow("spaces only") << u"   \n  "_qs << false << false;
        QTest::newRow("commas only") << u" ,\n, "_qs << false << false;
        QTest::newRow("one") << u"Аня"_qs << false << false;
        QTest::newRow("two on one line") << u"a, b"_qs << true << false;
        QTest::newRow("three") << u"Аня\nБорис\nВика"_qs << true << true;
        QTest::newRow("four") << u"Аня\nБорис\nВика, Гоша"_qs << true << false;
        QTest::newRow("five, blank lines") << u"1\n\n2\n3,4\r\n5\n"_qs << true << true;
        QTest::newRow("same name twice") << u"Аня\nАня\nАня"_qs << true << true;
    }

    void predictionsMatchTheFormation()
    {
        QFETCH(QString, players);
        QFETCH(bool, canForm);
        QFETCH(bool, observer);

        StoreHarness game;
        game->startNewGame();
        game->setPlayerText(players);
        QCOMPARE(game->canFormTeams(), canForm);
        QCOMPARE(game->leavesObserver(), observer);

        game->openFormation();
        QCOMPARE(game->screen(), canForm ? AppScreen::formation : AppScreen::setup);
        if (!canForm)
            return;
        game->formTeams(false);
        QCOMPARE(game->screen(), observer ? AppScreen::observerWheel : AppScreen::teams);
    }

    // The screen redraws them from settingsChanged, so every edit must announce them.
    void followTheTextAsItIsTyped()
    {
        StoreHarness game;
        QSignalSpy changed(game.store.get(), &GameStore::settingsChanged);
        QString text;
        const QList<bool> expectedCan = {false, false, true, true, true, true};
        const QList<bool> expectedObserver = {false, false, false, false, true, false};
        const QStringList typed = {u"А"_qs, u"\n"_qs, u"Б"_qs, u","_qs, u"В"_qs, u",Г"_qs};
        for (qsizetype i = 0; i < typed.size(); ++i) {
            text += typed.at(i);
            game->setPlayerText(text);
            QCOMPARE(changed.size(), i + 1);
            QCOMPARE(game->canFormTeams(), expectedCan.at(i));
            QCOMPARE(game->leavesObserver(), expectedObserver.at(i));
        }
    }

    // What the field shows must read back as the same number, in any locale and at the
    // ends of the range: a field that reformats 9223372036854775807 into something else
    // would store a different target the next time it is touched.
    void targetTextReadsBackExactly_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << u"C"_qs;
        QTest::newRow("Russian") << u"ru_RU"_qs;
        QTest::newRow("Arabic digits") << u"ar_EG"_qs;
        QTest::newRow("Devanagari digits") << u"hi_IN"_qs;
    }

    void targetTextReadsBackExactly()
    {
        QFETCH(QString, locale);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });

        StoreHarness game;
        QCOMPARE(game->wordsToWinText(), QLocale().toString(20));
        for (const qint64 target : {qint64(1), qint64(7), qint64(1000), qint64(123456789),
                                    std::numeric_limits<qint64>::max()}) {
            game->setWordsToWin(target);
            const QString shown = game->wordsToWinText();
            game->setWordsToWin(5);
            QVERIFY2(game->setWordsToWinText(shown), qPrintable(shown));
            QCOMPARE(game->settings().wordsToWin, target);
        }
        // Thousands are shown without a separator, which the field could not take back.
        game->setWordsToWin(1000);
        QVERIFY(!game->wordsToWinText().contains(QLocale().groupSeparator()));
    }
};

QTEST_GUILESS_MAIN(TestSetupRules)
#include "tst_setuprules.moc"
