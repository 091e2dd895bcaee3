#pragma once
// What mozik-solve tells its user, in Russian or in English: the environment's language, chosen
// the way the game chooses it (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG: the first Russian or
// English locale named decides; English otherwise). Plain C++: the solver links no Qt, so its
// texts are a table of their own. The Russian texts are also marked for the game's translation
// files (context "MozikSolve"), and the tests check that the table's English is the translation
// those files give, so that one place of truth is kept for both.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

enum class TSolverText {
    Usage,
    CannotWrite,
    UnknownOption,
    LineTooLong,
    NotSolvable,
    NoMemory,
    CannotRead,
    LineStats,
    TablesRead,
    TablesBuilt,
    SizeOutOfRange,
    WrongCount,
    NumberOutOfRange,
    GapTwice,
    TileTwice,
    TooManyNumbers,
    HugeNumber,
    NotANumber,
    NoSize,
};

struct TSolverTextPair {
    TSolverText Id;
    const char* Russian;
    const char* English;
};

// Every text, once.
std::span<const TSolverTextPair> SolverTexts();

// Whether the environment's language is Russian: LANGUAGE (a list separated by ':'), then the
// first set of LC_ALL, LC_MESSAGES and LANG (null or empty when unset).
bool EnvironmentSpeaksRussian(const char* language, const char* all, const char* messages, const char* lang);
// The language of the texts from now on; English until set.
void SpeakRussian(bool russian);

// The text in the language in force, with %1, %2, ... replaced by the arguments.
std::string Say(TSolverText text, std::initializer_list<std::string_view> arguments = {});
// The text with %1 to %9 replaced by the arguments' bytes as they are (an argument's own "%2" stays).
std::string WithArguments(std::string_view text, std::initializer_list<std::string_view> arguments);
