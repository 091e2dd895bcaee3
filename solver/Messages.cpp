#include "solver/Messages.h"

#include <algorithm>
#include <string>

// Marks a Russian text for the translation files; the solver itself needs no Qt.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace {

constexpr TSolverTextPair kTexts[] = {
    {TSolverText::Usage,
     QT_TRANSLATE_NOOP("MozikSolve",
                       "Использование: mozik-solve [--fast] [--stats] [--no-cache] [--help] [--version]\n"
                       "Читает доски со стандартного ввода, по одной в строке: N, затем N*N чисел по строкам доски, 0 для дырки.\n"
                       "Пишет для каждой строки число ходов и передвигаемые плитки или «error: <причина>».\n"
                       "  --fast   быстрый решатель для любого размера (без него: кратчайшие решения до 4 x 4)\n"
                       "  --stats  время, число узлов поиска и нижняя оценка каждой доски на стандартный вывод ошибок\n"
                       "  --no-cache  строить таблицы 4 x 4 только в памяти; без него они читаются из папки\n"
                       "           кэша $XDG_CACHE_HOME/Mozik/ (обычно ~/.cache/Mozik/) или, построенные\n"
                       "           впервые, хранятся там\n"
                       "Размеры: от 1 до 7. Код выхода: 0 все доски решены, 1 доска не решена или ошибка\n"
                       "ввода или вывода, 2 неизвестный параметр.\n"),
     "usage: mozik-solve [--fast] [--stats] [--no-cache] [--help] [--version]\n"
     "Reads boards from standard input, one a line: N, then the N*N numbers row by row, 0 for the gap.\n"
     "Writes for each line the number of moves and the tiles moved, or 'error: <reason>'.\n"
     "  --fast   use the fast solver at every size (default: shortest solutions up to 4 x 4)\n"
     "  --stats  write the time, the nodes searched and the lower bound of each board to standard error\n"
     "  --no-cache  build the 4 x 4 tables in memory only; without it they are read from, or\n"
     "           after their first build kept in, the cache folder $XDG_CACHE_HOME/Mozik/\n"
     "           (normally ~/.cache/Mozik/)\n"
     "Sizes solved: 1 to 7. Exit status: 0 every board solved, 1 a board not solved or a failed\n"
     "input or output, 2 an unknown option.\n"},
    {TSolverText::CannotWrite, QT_TRANSLATE_NOOP("MozikSolve", "не удалось записать ответы: %1"),
     "cannot write the answers: %1"},
    {TSolverText::UnknownOption, QT_TRANSLATE_NOOP("MozikSolve", "неизвестный параметр «%1»"), "unknown option '%1'"},
    {TSolverText::LineTooLong, QT_TRANSLATE_NOOP("MozikSolve", "строка длиннее %1 символов"),
     "line longer than %1 characters"},
    {TSolverText::NotSolvable, QT_TRANSLATE_NOOP("MozikSolve", "не решается: никакие ходы не собирают эту доску"),
     "not solvable: no moves bring this board home"},
    {TSolverText::NoMemory, QT_TRANSLATE_NOOP("MozikSolve", "не хватает памяти, чтобы решить эту доску"),
     "not enough memory to solve this board"},
    {TSolverText::CannotRead, QT_TRANSLATE_NOOP("MozikSolve", "не удалось прочитать стандартный ввод: %1"),
     "cannot read standard input: %1"},
    {TSolverText::LineStats,
     QT_TRANSLATE_NOOP("MozikSolve", "строка %1: %2x%2, ходов %3, %4 с, узлов %5, нижняя оценка %6"),
     "line %1: %2x%2, %3 moves, %4 s, %5 nodes, lower bound %6"},
    {TSolverText::TablesRead, QT_TRANSLATE_NOOP("MozikSolve", "таблицы для %1x%1 прочитаны за %2 с"),
     "tables for %1x%1 read in %2 s"},
    {TSolverText::TablesBuilt, QT_TRANSLATE_NOOP("MozikSolve", "таблицы для %1x%1 построены за %2 с"),
     "tables for %1x%1 built in %2 s"},
    {TSolverText::SizeOutOfRange,
     QT_TRANSLATE_NOOP("MozikSolve", "размер доски %1 не от %2 до %3, решаемых размеров"),
     "board size %1 is not between %2 and %3, the sizes solved"},
    {TSolverText::WrongCount, QT_TRANSLATE_NOOP("MozikSolve", "доске %1 x %1 нужно %2 чисел, а не %3"),
     "a %1 x %1 board needs %2 numbers, not %3"},
    {TSolverText::NumberOutOfRange, QT_TRANSLATE_NOOP("MozikSolve", "число %1 вне пределов 0..%2"),
     "number %1 is out of range 0..%2"},
    {TSolverText::GapTwice, QT_TRANSLATE_NOOP("MozikSolve", "дырка 0 встречается больше одного раза"),
     "the gap 0 appears more than once"},
    {TSolverText::TileTwice, QT_TRANSLATE_NOOP("MozikSolve", "плитка %1 встречается больше одного раза"),
     "tile %1 appears more than once"},
    {TSolverText::TooManyNumbers,
     QT_TRANSLATE_NOOP("MozikSolve", "чисел больше, чем на доске %1 x %1 (%2 после размера); решаемые размеры от %3 до %4"),
     "more numbers than a %1 x %1 board has (%2 after the size); the sizes solved are %3 to %4"},
    {TSolverText::HugeNumber, QT_TRANSLATE_NOOP("MozikSolve", "число %1 вне пределов"), "number %1 is out of range"},
    {TSolverText::NotANumber, QT_TRANSLATE_NOOP("MozikSolve", "«%1» не число"), "'%1' is not a number"},
    {TSolverText::NoSize, QT_TRANSLATE_NOOP("MozikSolve", "нет размера доски"), "no board size"},
};

bool russian = false;

// A locale name's language: "ru" of "ru_RU.UTF-8", "ru-RU" or "ru".
std::string_view LanguageOf(std::string_view locale)
{
    return locale.substr(0, std::min(locale.find_first_of("_-.@"), locale.size()));
}

} // namespace

std::span<const TSolverTextPair> SolverTexts()
{
    return kTexts;
}

bool EnvironmentSpeaksRussian(const char* language, const char* all, const char* messages, const char* lang)
{
    const auto set = [](const char* value) { return value && *value; };
    std::string names = set(language) ? std::string(language) + ':' : std::string();
    for (const char* locale : {all, messages, lang})
        if (set(locale)) {
            names += locale;
            break;
        }
    for (std::size_t start = 0; start <= names.size();) {
        const std::size_t end = std::min(names.find(':', start), names.size());
        const std::string_view name = LanguageOf(std::string_view(names).substr(start, end - start));
        if (name == "ru" || name == "en")
            return name == "ru";
        start = end + 1;
    }
    return false;
}

void SpeakRussian(bool on)
{
    russian = on;
}

std::string Say(TSolverText id, std::initializer_list<std::string_view> arguments)
{
    const auto found = std::find_if(std::begin(kTexts), std::end(kTexts), [id](const TSolverTextPair& pair) { return pair.Id == id; });
    return WithArguments(russian ? found->Russian : found->English, arguments);
}

std::string WithArguments(std::string_view text, std::initializer_list<std::string_view> arguments)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t n = i + 1 < text.size() ? std::size_t(text[i + 1] - '1') : arguments.size();
        if (text[i] == '%' && n < arguments.size()) {
            out += arguments.begin()[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
