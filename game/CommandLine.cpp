#include "game/CommandLine.h"

#include "MozikVersion.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace {

const char* const kUsage =
    "Использование: mozik [РИСУНОК]\n"
    "Пятнашки из картинки: рисунок режется на квадраты и перемешивается, их нужно собрать.\n"
    "\n"
    "  РИСУНОК      файл рисунка (BMP, PNG, JPEG и другие), с которым начать игру\n"
    "               вместо встроенного рисунка\n"
    "  -h, --help   показать эту справку и выйти\n"
    "  --version    показать версию программы и выйти\n"
    "  --           дальше только имя рисунка, даже если оно начинается с «-»\n"
    "\n"
    "Подробнее: man 6 mozik\n";

// An argument as it may be shown in a message: control characters (which could steer the
// terminal) become '?', and a long one is cut at a character's start.
std::string Shown(std::string_view argument)
{
    constexpr std::size_t kMaxShown = 100;
    std::string shown;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(argument[i]);
        if (i >= kMaxShown && (c & 0xC0) != 0x80)
            return shown + "...";
        shown += c < 0x20 || c == 0x7F ? '?' : char(c);
    }
    return shown;
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
                return Refused("лишний аргумент «" + Shown(argument) + "»: рисунок можно назвать только один");
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
                return Refused("параметру «--state-file» нужно имя файла");
            command.StateFile = std::string(value);
            continue;
        } else if (hasValue && (name == "--help" || name == "--version" || name == "--startup-probe")) {
            return Refused("параметр «" + std::string(name) + "» не принимает значения");
        } else if (name == "-h" || name == "--help") {
            command.Action = TCommandLine::TAction::Help;
            return command;
        } else if (name == "--version") {
            command.Action = TCommandLine::TAction::Version;
            return command;
        } else if (name == "--startup-probe") {
            command.StartupProbe = true;  // for the start-up benchmark
        } else {
            return Refused("неизвестный параметр «" + Shown(argument) + "»");
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
            return "mozik: не удалось открыть окно: оконная платформа «" + Shown(name) + "» (QT_QPA_PLATFORM) не запустилась";
    }
    if (given(display))
        return "mozik: не удалось подключиться к дисплею «" + Shown(display) + "»: его нет, или он не пускает";
    if (given(waylandDisplay))
        return "mozik: не удалось подключиться к дисплею Wayland «" + Shown(waylandDisplay) + "», а переменная DISPLAY не задана";
    return "mozik: нет дисплея, окно игры негде показать: переменная DISPLAY не задана (без дисплея: xvfb-run mozik)";
}

int AnswerCommandLine(const TCommandLine& command, std::FILE* out, std::FILE* err)
{
    using enum TCommandLine::TAction;
    if (command.Action == Play)
        return 0;
    if (command.Action == Refuse) {
        Write(err, command.Refusal + "\nСправка: mozik --help\n");
        return 2;
    }
    const std::string text = command.Action == Help ? std::string(kUsage) : "mozik " MOZIK_VERSION "\n";
    if (Write(out, text))
        return 0;
    Write(err, std::string("mozik: не удалось вывести текст: ") + std::strerror(errno ? errno : EIO) + "\n");
    return 1;
}
