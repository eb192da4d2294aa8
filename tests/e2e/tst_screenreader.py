#!/usr/bin/env python3
# What a screen reader hears on each screen: the running game's accessibility tree, read
# over AT-SPI the way Orca reads it, while a whole game is played through that same tree's
# actions (press, focus) and the keyboard. Run under dbus-run-session and xvfb-run, which
# give it a private session bus (the accessibility bus starts on it) and a display.
#   tst_screenreader.py <game binary>
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

config = tempfile.TemporaryDirectory()
game = subprocess.Popen(
    [sys.argv[1]],
    env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
             XDG_CONFIG_HOME=config.name, QT_SCALE_FACTOR="1"))


def fail(message):
    print("FAIL:", message, flush=True)
    game.kill()
    sys.exit(1)


def wait_for(found, what, timeout=20):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if game.poll() is not None:
            fail("the game quit while waiting for " + what)
        try:
            value = found()
        except Exception:  # a node that went away mid-walk: the screen is changing
            value = None
        if value:
            return value
        time.sleep(0.1)
    fail("no " + what)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == game.pid:
            return app
    return None


app = wait_for(application, "game on the accessibility bus")
# Keys go to the focused window; with no window manager, focus it by hand.
window = wait_for(lambda: subprocess.run(["xdotool", "search", "--pid", str(game.pid)],
                                         capture_output=True, text=True).stdout.split(),
                  "game window")[-1]
subprocess.run(["xdotool", "windowfocus", window], check=True)


def role(node):
    # Newer AT-SPI (Debian 13) names the push button role plainly "button".
    name = node.getRoleName()
    return "push button" if name == "button" else name


def shown():
    """(line, node) for each node of the screen: role, name, description, states."""
    found = []

    def visit(node):
        state = node.getState()
        if node.name or role(node) not in ("filler", "unknown"):
            line = "%s '%s'" % (role(node), node.name)
            if node.description and node.description != node.name:
                line += " '%s'" % node.description
            if state.contains(pyatspi.STATE_CHECKED):
                line += " checked"
            # Hidden, or scrolled out of view: a reader scrolls to it.
            if not state.contains(pyatspi.STATE_SHOWING):
                line += " (not showing)"
            found.append((line, node))
        for child in node:
            if child is not None:
                visit(child)

    app.clear_cache()
    for window in app:
        if window is not None:
            visit(window)
    return found


def hear(screen, *expected):
    """Waits until every expected line is heard and the screen has settled (the last one
    has faded out), then prints what the screen says."""
    last = []
    same = [0]

    def all_heard():
        lines = [line for line, _ in shown()]
        # The turn's clock ticks on its own.
        steady = lambda ls: [line for line in ls if not line.endswith(" осталось'")]
        same[0] = same[0] + 1 if steady(lines) == steady(last) else 0
        last[:] = lines
        # "x*" is anything starting with x.
        heard = lambda e: any(line == e or line.startswith(e + " ")
                              or (e.endswith("*") and line.startswith(e[:-1])) for line in last)
        return last if same[0] >= 15 and all(heard(e) for e in expected) else None

    try:
        # Fifteen steady walks of the tree, 2.5 s on a quiet machine; the summary also
        # waits for the 10 s turn to end.
        lines = wait_for(all_heard, "%s saying %s" % (screen, expected), timeout=120)
    except SystemExit:
        print("heard instead:", *last, sep="\n    ")
        raise
    print("%s:" % screen)
    for line in lines:
        print("   ", line)
    return lines


def node(wanted, name, showing=True):
    for line, found in shown():
        if role(found) == wanted and found.name == name \
                and (not showing or not line.endswith("(not showing)")):
            return found
    return None


def press(role, name, showing=True):
    target = wait_for(lambda: node(role, name, showing), "%s '%s'" % (role, name))
    target.queryAction().doAction(0)


def type_into(role, name, keys):
    field = wait_for(lambda: node(role, name), "%s '%s'" % (role, name))
    field.queryComponent().grabFocus()
    wait_for(lambda: field.getState().contains(pyatspi.STATE_FOCUSED), "focus in " + name)
    for key in keys:
        subprocess.run(["xdotool"] + key.split(), check=True)


back = "push button 'Назад'"
hear("home", "frame 'tarvuk’s glimp'", "push button 'Новая игра' 'соберите свою банду'",
     "push button 'Собственные слова' 'добавьте свои приколы'")
press("push button", "Собственные слова")
hear("custom words", back, "text 'Собственные слова, по одному на строку'",
     "push button 'Готово' 'сохранено на этом устройстве'")
press("push button", "Назад")
press("push button", "Новая игра")
hear("setup", back, "text 'Имена игроков, по одному на строку'", "radio button 'Простая'",
     "radio button 'Средняя' checked", "radio button 'Сложная'",
     "check box 'Пользовательские слова'", "radio button '1 м' checked", "text 'Слов для победы'",
     "radio button 'Выкл' checked", "push button 'Собрать команды' '0 игрока'")
type_into("text", "Имена игроков, по одному на строку", ["type Ann", "key Return", "type Bob",
                                                          "key Return", "type Cid"])
hear("setup with names", "push button 'Очистить список игроков'",
     "push button 'Собрать команды' '3 игрока'")
type_into("text", "Слов для победы", ["key ctrl+a", "type 1", "key Return"])
press("radio button", "10 с")
hear("setup chosen", "radio button '10 с' checked")
press("push button", "Собрать команды", showing=False)
hear("formation", back, "push button 'Создать команды рандомно' 'перемешать всех в шляпе'",
     "push button 'Создать команды не рандомно' 'сосед с соседом'")
press("push button", "Создать команды не рандомно")
hear("observer wheel", back, "label 'Наблюдает!'", "push button 'К командам' 'посмотреть составы'")
press("push button", "К командам")
hear("team editor", back, "text 'Название команды'", "push button 'Всё готово' 'начинаем игру'")
press("push button", "Всё готово")
hear("ready", back, "label 'Команда 1'", "label 'Отгадывает *", "push button 'Тапните, чтобы начать'")
press("push button", "Тапните, чтобы начать")
card = "'Смахните вправо, если угадали. Влево, если пропуск'"
word = [line for line in hear("play", "label '0:*", "push button '*")
        if line.endswith(card)][0].split("'")[1]
subprocess.run(["xdotool", "key", "Left"], check=True)
hear("summary", back, "label 'Команда 1'", "label '+0 баллов'", "label '%s, пропуск'" % word,
     "push button 'Тапните, чтобы продолжить'")
press("push button", "Тапните, чтобы продолжить")
press("push button", "Тапните, чтобы начать")
hear("play again", "push button '*")
subprocess.run(["xdotool", "key", "Right"], check=True)
hear("winner", "label 'Победа! Команда 1'", "label 'набирает 1 баллов и забирает вечер'",
     "push button 'Переиграть' 'те же игроки и настройки'", "push button 'На главную'")
press("push button", "На главную")
hear("home again", "push button 'Новая игра' 'соберите свою банду'")
game.terminate()
game.wait(10)
print("PASS")
