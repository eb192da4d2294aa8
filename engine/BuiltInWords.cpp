#include "BuiltInWords.h"

#include "WordRules.h"
#include "words/WordListsData.h"

QStringView builtInWordsText(Difficulty difficulty)
{
    switch (difficulty) {
    case Difficulty::easy:
        return WordListsData::easy;
    case Difficulty::medium:
        return WordListsData::medium;
    case Difficulty::hard:
        return WordListsData::hard;
    }
    return {};
}

const QStringList &builtInWords(Difficulty difficulty)
{
    // Each list is split the first time it is asked for and kept for the process.
    switch (difficulty) {
    case Difficulty::easy: {
        static const QStringList list = splitWordLines(WordListsData::easy.toString());
        return list;
    }
    case Difficulty::medium: {
        static const QStringList list = splitWordLines(WordListsData::medium.toString());
        return list;
    }
    case Difficulty::hard:
        break;
    }
    static const QStringList list = splitWordLines(WordListsData::hard.toString());
    return list;
}
