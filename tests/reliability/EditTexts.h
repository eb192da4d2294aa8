#pragma once

#include <QString>

// The successive texts that the preferences writer stores: edit index of run run.
// Each starts with a line naming the run and the edit; now and then one is a large paste,
// one is empty (the players cleared the list), and the rest hold what INI files and
// QSettings treat specially.
QString editText(int run, int index);
