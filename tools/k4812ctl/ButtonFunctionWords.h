#pragma once
// The button functions as the command line names them: a word per choice of
// the window's assignment menu, made from its caption ("Right Click" is
// right-click, "Play/Pause" play-pause, "DPI +" dpi+), and the choices that
// carry a value: key NAME, combo MODIFIERS+KEY[+KEY], macro NAME,
// fire COUNT DELAY.

#include "records/Records.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace k4812::cli {

struct ButtonFunctionChoice {
    enum class Kind { Simple, SingleKey, ComboKey, Macro, FireKey };
    Kind kind = Kind::Simple;
    int menuId = 0;                 // Simple: the menu item
    TSINGLEKEYINFO singleKey{};
    TCOMBOKEYINFO comboKey{};
    QString macroName;
    TFIREKEYINFO fireKey{};
};

// The word of a menu caption: lower case, "DPI +" -> "dpi+", blanks and "/"
// -> "-", a trailing "..." dropped.
QString functionWordOf(const char* caption);

// The function that `words` (the arguments after the button number) name;
// nothing, with a message in `error`, when they name none.
std::optional<ButtonFunctionChoice> parseButtonFunction(const QStringList& words, QString& error);

// Every simple function word, in menu order, for the help text and errors.
QStringList simpleFunctionWords();

} // namespace k4812::cli
