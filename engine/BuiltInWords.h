#pragma once

#include "GameTypes.h"

// The stored text of a built-in list: entries joined by single line feeds.
QStringView builtInWordsText(Difficulty difficulty);
// The list for difficulty, split once per process.
const QStringList &builtInWords(Difficulty difficulty);
