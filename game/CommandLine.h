#pragma once
// The game's command line: a picture to play with, --help and --version, and the switches that
// tests and benchmarks use (left out of the help). It is read before anything else starts, from
// the bytes the system hands over, so that a file name stays exactly as it was given. Its answers
// are in the language in force (framework/Language.h: UseLanguage before, for the environment's).

#include <cstdio>
#include <optional>
#include <string>

struct TCommandLine {
    enum class TAction { Play, Help, Version, Refuse };
    TAction Action = TAction::Play;
    std::optional<std::string> Picture;    // a file name, in the file system's bytes
    std::optional<std::string> StateFile;  // --state-file FILE
    bool StartupProbe = false;             // --startup-probe
    std::string Refusal;                   // why the line is refused, one line
};

TCommandLine ParseCommandLine(int argc, const char* const* argv);

// The line that tells why the game's window cannot be shown, from the environment's DISPLAY,
// WAYLAND_DISPLAY and QT_QPA_PLATFORM (null or empty when unset): no display is named, the one
// named is not there or lets nobody in, or the platform asked for does not start.
std::string NoWindowAnswer(const char* display, const char* waylandDisplay, const char* platform);

// Answers every action but Play: the usage or the version on `out`, a refusal and a hint to
// --help on `err`. Returns the program's exit status: 0, 2 for a refusal, 1 when the answer could
// not be written.
int AnswerCommandLine(const TCommandLine& command, std::FILE* out, std::FILE* err);
