// The own words opened with 100,000 and 1,000,000 lines saved: the longest the main thread
// stays away from its event loop until the editor holds them all, and the memory that
// takes. Then one keystroke in the editor holding 10,000 lines, as the player feels it: the
// key goes through the real screen (text area, store, save, counter), and then the frame
// that shows it is drawn. Then a 5 MB paste: how long the key takes, the longest stall
// while the editor fills, and a keystroke after. Then a thousand player names pasted and
// formed into 500 teams, and a 10,000-character team name: each step until its frame is
// drawn. The store alone is timed in bench_engine.
#include "BenchGame.h"
#include "BenchTable.h"
#include "BenchWindow.h"
#include "GameStore.h"
#include "UiAssets.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <cstdio>
#include <vector>

namespace {

// The first visible item of that class, depth first.
QQuickItem *findItem(QQuickItem *item, const char *className)
{
    if (item->inherits(className) && item->isVisible())
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = findItem(child, className))
            return found;
    }
    return nullptr;
}

void putOnClipboard(const QString &text)
{
    auto *data = new QMimeData;
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
}

// Wall time of step and the frame drawn after it, against a target of one second.
void timeStep(BenchTable &table, QQuickWindow *window, const QString &name,
              const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    QCoreApplication::processEvents();
    window->grabWindow();
    const double ms = timer.nsecsElapsed() / 1e6;
    table.verdict(name, BenchTable::ms3(ms), QString(), QStringLiteral("≤ 1000 ms"), ms <= 1000);
}

// The longest the main thread stays away from its event loop (the events waiting, then a
// frame) until the editor is no longer read-only, filling; and how long that takes.
std::pair<double, double> stallsWhileFilling(QQuickWindow *window, QQuickItem *editor)
{
    double longest = 0;
    QElapsedTimer timer;
    timer.start();
    while (editor->property("readOnly").toBool() && timer.elapsed() < 600000) {
        QElapsedTimer stall;
        stall.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        window->grabWindow();
        longest = std::max(longest, stall.nsecsElapsed() / 1e6);
    }
    return {longest, timer.nsecsElapsed() / 1e6};
}

// The process's resident memory now and at its peak since resetPeakMemory, in MiB.
std::pair<double, double> memoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // "VmRSS:     51234 kB"
    const auto mib = [](const QByteArray &line) {
        return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    };
    double now = 0, peak = 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            now = mib(line);
        if (line.startsWith("VmHWM:"))
            peak = mib(line);
    }
    return {now, peak};
}

void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// The own words opened with a huge list saved, the store holding it from the start: the
// longest stall until the editor holds it all, and the memory that takes. False if the
// editor's text is not the list.
bool openHugeLists(BenchTable &table, DiskBackedGame &store, QQuickWindow *window)
{
    GameStore &game = store.game;
    bool opened = true;
    for (const int lines : {100000, 1000000}) {
        game.goHome();
        QTest::qWait(1000);
        QString list;
        for (int i = 0; i < lines; ++i)
            list += QStringLiteral("словцо%1\n").arg(i);
        list.chop(1);
        game.setCustomWordsText(list);
        store.prefs.flush(std::chrono::minutes(1));
        QTest::qWait(100);
        const double textMiB = list.toUtf8().size() / 1048576.0;
        const double before = memoryMiB().first;
        resetPeakMemory();
        QElapsedTimer open;
        open.start();
        game.setScreen(AppScreen::customWords);
        QCoreApplication::processEvents();
        window->grabWindow();
        const double openMs = open.nsecsElapsed() / 1e6;
        QQuickItem *editor = findItem(window->contentItem(), "QQuickTextEdit");
        const auto [stall, fill] = editor ? stallsWhileFilling(window, editor) : std::pair{0.0, 0.0};
        const double peak = memoryMiB().second;
        table.verdict(QStringLiteral("own words opened on %1 saved lines (%2 MiB), longest stall")
                              .arg(QLocale(QLocale::English).toString(lines))
                              .arg(textMiB, 0, 'f', 1),
                      BenchTable::ms3(std::max(openMs, stall)), QString(),
                      QStringLiteral("≤ 100 ms"), std::max(openMs, stall) <= 100);
        BenchTable::row(QStringLiteral("  the editor holds them all after"),
                        BenchTable::ms3(openMs + fill), QString(), QString(), QString());
        BenchTable::row(QStringLiteral("  peak memory over what was in use before (resident)"),
                        QStringLiteral("%1 MiB").arg(peak - before, 0, 'f', 1),
                        QStringLiteral("%1 MiB peak").arg(peak, 0, 'f', 1), QString(), QString());
        opened = opened && editor && editor->property("text").toString() == list;
    }
    game.goHome();
    QTest::qWait(1000);
    if (!opened)
        std::fputs("a saved list did not reach the editor whole\n", stderr);
    return opened;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    UiAssets::install();

    DiskBackedGame store;
    BackgroundPreferences &prefs = store.prefs;
    GameStore &game = store.game;

    QQmlApplicationEngine engine;
    QQuickWindow *window = loadGameWindow(engine, game);
    if (!window || !QTest::qWaitForWindowExposed(window))
        return 2;
    BenchTable table;
    const bool opened = openHugeLists(table, store, window);

    QString words;
    for (int i = 0; i < 10000; ++i)
        words += QStringLiteral("Своё слово номер %1\n").arg(i);
    words.chop(1);
    game.setCustomWordsText(words);
    prefs.flush(std::chrono::minutes(1));
    game.setScreen(AppScreen::customWords);
    QTest::qWait(1000);
    QQuickItem *editor = findItem(window->contentItem(), "QQuickTextEdit");
    if (!editor)
        return 2;
    editor->forceActiveFocus();
    editor->setProperty("cursorPosition", words.size());
    QTest::qWait(100);

    // Alternate typing a letter at the end and deleting it again.
    int keystroke = 0;
    const auto type = [&] {
        QTest::keyClick(window, (keystroke++ % 2) ? Qt::Key_Backspace : Qt::Key_X);
    };

    table.add(QStringLiteral("own words keystroke on 10,000 lines, key to counter (screen)"), 4.0,
              type);
    table.add(QStringLiteral("  the same with the frame that shows it (software, 390 × 844)"), 0,
              [&] {
                  type();
                  window->grabWindow();
              });
    // Every keystroke must really have reached the store and the disk.
    const bool stored = prefs.flush(std::chrono::minutes(1));
    // An even number of keystrokes: each letter typed was deleted again.
    bool typed = stored && keystroke % 2 == 0 && game.customWordsText() == words
            && prefs.readText(QString::fromLatin1(GameStore::customWordsKey))
                       == game.customWordsText();

    QString pasted;
    for (int i = 0; pasted.size() < 5 * 1024 * 1024 / 2; ++i)
        pasted += QStringLiteral("словечко%1\n").arg(i);
    putOnClipboard(pasted);
    QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier);
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
    const double pasteMs = timer.nsecsElapsed() / 1e6;
    table.verdict(QStringLiteral("5 MB paste into own words, key handled (wall)"),
                  BenchTable::ms3(pasteMs), QString(), QStringLiteral("≤ 1000 ms"),
                  pasteMs <= 1000);
    const auto [longestStall, fillMs] = stallsWhileFilling(window, editor);
    table.verdict(QStringLiteral("  longest stall (events and a frame) while the editor fills"),
                  BenchTable::ms3(longestStall), QString(), QStringLiteral("≤ 100 ms"),
                  longestStall <= 100);
    BenchTable::row(QStringLiteral("  the editor holds the whole text after"),
                    BenchTable::ms3(fillMs), QString(), QString(), QString());
    table.add(QStringLiteral("own words keystroke on 5 MB (screen, wall)"), 0, type, 11);
    typed = typed && prefs.flush(std::chrono::minutes(1)) && game.customWordsText() == pasted
            && prefs.readText(QString::fromLatin1(GameStore::customWordsKey)) == pasted;
    if (!typed)
        std::fputs("the keystrokes or the paste did not reach the store\n", stderr);

    game.startNewGame();
    QTest::qWait(1000);
    QStringList names;
    for (int i = 0; i < 1000; ++i)
        names << QStringLiteral("Игрок %1").arg(i);
    putOnClipboard(names.join(QLatin1Char('\n')));
    if (QQuickItem *namesEditor = findItem(window->contentItem(), "QQuickTextEdit"))
        namesEditor->forceActiveFocus();
    timeStep(table, window, QStringLiteral("1,000 player names pasted, to the frame"), [&] {
        QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
    });
    game.openFormation();
    QTest::qWait(1000);
    timeStep(table, window, QStringLiteral("  formed into 500 teams, to the team cards' frame"),
             [&] { game.formTeams(false); });
    QTest::qWait(1000);
    QQuickItem *nameField = findItem(window->contentItem(), "QQuickTextInput");
    if (nameField)
        nameField->forceActiveFocus();
    QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier);
    putOnClipboard(QStringLiteral("Ёжики в тумане ").repeated(667).left(10000));
    timeStep(table, window, QStringLiteral("  a 10,000-character team name pasted, to the frame"),
             [&] { QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier); });
    timeStep(table, window, QStringLiteral("  the ready screen with 500 teams, to its frame"),
             [&] { game.setScreen(AppScreen::ready); });
    const bool named = game.teams().size() == 500 && game.teams().constFirst().name.size() == 10000;
    if (!named)
        std::fputs("the names did not reach the store\n", stderr);

    return table.anyMissed() || !typed || !named || !opened ? 1 : 0;
}
