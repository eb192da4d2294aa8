#pragma once

#include <QString>
#include <QStringList>

// The text rules shared by the word lists, the players' own words and the player list.

// Non-empty trimmed lines of text, in order, duplicates kept. Lines end at LF, VT, FF,
// CR (CR LF counts once), NEL, LINE SEPARATOR and PARAGRAPH SEPARATOR.
QStringList splitWordLines(const QString &text);
// The number of entries splitWordLines(text) would return, without building them.
qsizetype countWordLines(const QString &text);

// The names in a player list: lines as above, further cut at every comma (U+002C),
// each without its blank ends, empty ones dropped, duplicates and order kept.
QStringList playerNames(const QString &text);

// text without the white space and the invisible characters (zero-width spaces and joiners,
// direction marks, soft hyphens, variation selectors...) at its ends; a variation selector
// or tag right after the last visible character stays with it. Empty when nothing shows.
QStringView withoutBlankEnds(QStringView text);

// The comparison key of a word: trimmed, case-folded, and without diacritical marks,
// so "Ёжик " and "ежик" share a key, as do й and и. Inner spaces stay.
QString wordKey(const QString &word);
