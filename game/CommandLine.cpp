#include "game/CommandLine.h"

#include "MozikVersion.h"
#include "framework/Language.h"
#include "files/ShownText.h"
#include "solver/Messages.h"

#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace {

// The texts are answered in the environment's language, before any window exists.
const char* const kContext = "CommandLine";

// One text marked for translation across its lines: the Russian is the source, translations/mozik_en.ts
// holds its English, and the help prints the one the environment asks for.
const char* const kUsage = QT_TRANSLATE_NOOP("CommandLine",
    "Использование: mozik [РИСУНОК]\n"
    "Пятнашки из картинки: рисунок режется на квадраты и перемешивается, их нужно собрать.\n"
    "\n"
    "  РИСУНОК      файл рисунка (BMP, PNG, JPEG и другие), с которым начать игру\n"
    "               вместо встроенного рисунка\n"
    "  -h, --help   показать эту справку и выйти\n"
    "  --version    показать версию программы и выйти\n"
    "  --           дальше только имя рисунка, даже если оно начинается с «-»\n"
    "\n"
    "Подробнее: man 6 mozik\n");

// An argument is shown in a message escaped (files/ShownText.h), a long one cut.
constexpr std::size_t kMaxShown = 100;

// The text in the language in force, with %1, %2, ... replaced by the arguments' bytes as they are.
std::string Text(const char* source, std::initializer_list<std::string_view> arguments = {})
{
    return WithArguments(TextInLanguage(kContext, source).toStdString(), arguments);
}

TCommandLine Refused(std::string why)
{
    TCommandLine command;
    command.Action = TCommandLine::TAction::Refuse;
    command.Refusal = "mozik: " + std::move(why);
    return command;
}

// Writes the text and makes sure it went out; false, with errno set, when it did not.
bool Write(std::FILE* stream, const std::string& text)
{
    errno = 0;
    return std::fputs(text.c_str(), stream) >= 0 && std::fflush(stream) == 0 && !std::ferror(stream);
}

} // namespace

TCommandLine ParseCommandLine(int argc, const char* const* argv)
{
    TCommandLine command;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnd || argument == "-" || !argument.starts_with('-')) {
            if (command.Picture)
                return Refused(Text(QT_TRANSLATE_NOOP("CommandLine", "лишний аргумент «%1»: рисунок можно назвать только один"), {Shown(argument, kMaxShown)}));
            command.Picture = std::string(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const bool hasValue = argument.starts_with("--") && equals != std::string_view::npos;
        if (name == "--") {
            optionsEnd = true;
        } else if (name == "--state-file") {
            // The test switch through which the game reports what it shows.
            std::string_view value;
            if (hasValue)
                value = argument.substr(equals + 1);
            else if (i + 1 < argc)
                value = argv[++i];
            if (value.empty())
                return Refused(Text(QT_TRANSLATE_NOOP("CommandLine", "параметру «--state-file» нужно имя файла")));
            command.StateFile = std::string(value);
            continue;
        } else if (hasValue && (name == "--help" || name == "--version" || name == "--startup-probe")) {
            return Refused(Text(QT_TRANSLATE_NOOP("CommandLine", "параметр «%1» не принимает значения"), {name}));
        } else if (name == "-h" || name == "--help") {
            command.Action = TCommandLine::TAction::Help;
            return command;
        } else if (name == "--version") {
            command.Action = TCommandLine::TAction::Version;
            return command;
        } else if (name == "--startup-probe") {
            command.StartupProbe = true;  // for the start-up benchmark
        } else {
            return Refused(Text(QT_TRANSLATE_NOOP("CommandLine", "неизвестный параметр «%1»"), {Shown(argument, kMaxShown)}));
        }
    }
    return command;
}

std::string NoWindowAnswer(const char* display, const char* waylandDisplay, const char* platform)
{
    const auto given = [](const char* value) { return value && *value; };
    if (given(platform)) {
        const std::string_view name = platform;
        if (name.find("xcb") == std::string_view::npos && name.find("wayland") == std::string_view::npos)
            return "mozik: " + Text(QT_TRANSLATE_NOOP("CommandLine", "не удалось открыть окно: оконная платформа «%1» (QT_QPA_PLATFORM) не запустилась"), {Shown(name, kMaxShown)});
    }
    if (given(display))
        return "mozik: " + Text(QT_TRANSLATE_NOOP("CommandLine", "не удалось подключиться к дисплею «%1»: его нет, или он не пускает"), {Shown(display, kMaxShown)});
    if (given(waylandDisplay))
        return "mozik: " + Text(QT_TRANSLATE_NOOP("CommandLine", "не удалось подключиться к дисплею Wayland «%1», а переменная DISPLAY не задана"), {Shown(waylandDisplay, kMaxShown)});
    return "mozik: " + Text(QT_TRANSLATE_NOOP("CommandLine", "нет дисплея, окно игры негде показать: переменная DISPLAY не задана (без дисплея: xvfb-run mozik)"));
}

int AnswerCommandLine(const TCommandLine& command, std::FILE* out, std::FILE* err)
{
    using enum TCommandLine::TAction;
    if (command.Action == Play)
        return 0;
    if (command.Action == Refuse) {
        Write(err, command.Refusal + "\n" + Text(QT_TRANSLATE_NOOP("CommandLine", "Справка: mozik --help")) + "\n");
        return 2;
    }
    const std::string text = command.Action == Help ? Text(kUsage) : "mozik " MOZIK_VERSION "\n";
    if (Write(out, text))
        return 0;
    const int error = errno ? errno : EIO;
    Write(err, "mozik: " + Text(QT_TRANSLATE_NOOP("CommandLine", "не удалось вывести текст: %1"), {std::strerror(error)}) + "\n");
    return 1;
}
