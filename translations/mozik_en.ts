<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>CommandLine</name>
    <message>
        <source>Использование: mozik [РИСУНОК]
Пятнашки из картинки: рисунок режется на квадраты и перемешивается, их нужно собрать.

  РИСУНОК      файл рисунка (BMP, PNG, JPEG и другие), с которым начать игру
               вместо встроенного рисунка
  -h, --help   показать эту справку и выйти
  --version    показать версию программы и выйти
  --           дальше только имя рисунка, даже если оно начинается с «-»

Подробнее: man 6 mozik
</source>
        <translation>Usage: mozik [PICTURE]
A sliding puzzle made of a picture: the picture is cut into squares and shuffled, and you put it together again.

  PICTURE      a picture file (BMP, PNG, JPEG and others) to start the game with
               instead of the built-in picture
  -h, --help   show this help and exit
  --version    show the program&apos;s version and exit
  --           only the picture&apos;s name follows, even if it begins with &quot;-&quot;

More: man 6 mozik
</translation>
    </message>
    <message>
        <source>лишний аргумент «%1»: рисунок можно назвать только один</source>
        <translation>extra argument &quot;%1&quot;: only one picture can be named</translation>
    </message>
    <message>
        <source>параметру «--state-file» нужно имя файла</source>
        <translation>option &quot;--state-file&quot; needs a file name</translation>
    </message>
    <message>
        <source>параметр «%1» не принимает значения</source>
        <translation>option &quot;%1&quot; takes no value</translation>
    </message>
    <message>
        <source>неизвестный параметр «%1»</source>
        <translation>unknown option &quot;%1&quot;</translation>
    </message>
    <message>
        <source>не удалось открыть окно: оконная платформа «%1» (QT_QPA_PLATFORM) не запустилась</source>
        <translation>cannot open a window: the window platform &quot;%1&quot; (QT_QPA_PLATFORM) did not start</translation>
    </message>
    <message>
        <source>не удалось подключиться к дисплею «%1»: его нет, или он не пускает</source>
        <translation>cannot connect to display &quot;%1&quot;: it is not there, or it lets nobody in</translation>
    </message>
    <message>
        <source>не удалось подключиться к дисплею Wayland «%1», а переменная DISPLAY не задана</source>
        <translation>cannot connect to Wayland display &quot;%1&quot;, and DISPLAY is not set</translation>
    </message>
    <message>
        <source>нет дисплея, окно игры негде показать: переменная DISPLAY не задана (без дисплея: xvfb-run mozik)</source>
        <translation>no display to show the game&apos;s window on: DISPLAY is not set (without a display: xvfb-run mozik)</translation>
    </message>
    <message>
        <source>Справка: mozik --help</source>
        <translation>Help: mozik --help</translation>
    </message>
    <message>
        <source>не удалось вывести текст: %1</source>
        <translation>cannot write the text: %1</translation>
    </message>
</context>
<context>
    <name>MozikSolve</name>
    <message>
        <source>Использование: mozik-solve [--fast] [--stats] [--no-cache] [--help] [--version]
Читает доски со стандартного ввода, по одной в строке: N, затем N*N чисел по строкам доски, 0 для дырки.
Пишет для каждой строки число ходов и передвигаемые плитки или «error: &lt;причина&gt;».
  --fast   быстрый решатель для любого размера (без него: кратчайшие решения до 4 x 4)
  --stats  время, число узлов поиска и нижняя оценка каждой доски на стандартный вывод ошибок
  --no-cache  строить таблицы 4 x 4 только в памяти; без него они читаются из папки
           кэша $XDG_CACHE_HOME/Mozik/ (обычно ~/.cache/Mozik/) или, построенные
           впервые, хранятся там
Размеры: от 1 до 7. Код выхода: 0 все доски решены, 1 доска не решена или ошибка
ввода или вывода, 2 неизвестный параметр.
</source>
        <translation>usage: mozik-solve [--fast] [--stats] [--no-cache] [--help] [--version]
Reads boards from standard input, one a line: N, then the N*N numbers row by row, 0 for the gap.
Writes for each line the number of moves and the tiles moved, or &apos;error: &lt;reason&gt;&apos;.
  --fast   use the fast solver at every size (default: shortest solutions up to 4 x 4)
  --stats  write the time, the nodes searched and the lower bound of each board to standard error
  --no-cache  build the 4 x 4 tables in memory only; without it they are read from, or
           after their first build kept in, the cache folder $XDG_CACHE_HOME/Mozik/
           (normally ~/.cache/Mozik/)
Sizes solved: 1 to 7. Exit status: 0 every board solved, 1 a board not solved or a failed
input or output, 2 an unknown option.
</translation>
    </message>
    <message>
        <source>не удалось записать ответы: %1</source>
        <translation>cannot write the answers: %1</translation>
    </message>
    <message>
        <source>неизвестный параметр «%1»</source>
        <translation>unknown option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>строка длиннее %1 символов</source>
        <translation>line longer than %1 characters</translation>
    </message>
    <message>
        <source>не решается: никакие ходы не собирают эту доску</source>
        <translation>not solvable: no moves bring this board home</translation>
    </message>
    <message>
        <source>не хватает памяти, чтобы решить эту доску</source>
        <translation>not enough memory to solve this board</translation>
    </message>
    <message>
        <source>не удалось прочитать стандартный ввод: %1</source>
        <translation>cannot read standard input: %1</translation>
    </message>
    <message>
        <source>строка %1: %2x%2, ходов %3, %4 с, узлов %5, нижняя оценка %6</source>
        <translation>line %1: %2x%2, %3 moves, %4 s, %5 nodes, lower bound %6</translation>
    </message>
    <message>
        <source>таблицы для %1x%1 прочитаны за %2 с</source>
        <translation>tables for %1x%1 read in %2 s</translation>
    </message>
    <message>
        <source>таблицы для %1x%1 построены за %2 с</source>
        <translation>tables for %1x%1 built in %2 s</translation>
    </message>
    <message>
        <source>размер доски %1 не от %2 до %3, решаемых размеров</source>
        <translation>board size %1 is not between %2 and %3, the sizes solved</translation>
    </message>
    <message>
        <source>доске %1 x %1 нужно %2 чисел, а не %3</source>
        <translation>a %1 x %1 board needs %2 numbers, not %3</translation>
    </message>
    <message>
        <source>число %1 вне пределов 0..%2</source>
        <translation>number %1 is out of range 0..%2</translation>
    </message>
    <message>
        <source>дырка 0 встречается больше одного раза</source>
        <translation>the gap 0 appears more than once</translation>
    </message>
    <message>
        <source>плитка %1 встречается больше одного раза</source>
        <translation>tile %1 appears more than once</translation>
    </message>
    <message>
        <source>чисел больше, чем на доске %1 x %1 (%2 после размера); решаемые размеры от %3 до %4</source>
        <translation>more numbers than a %1 x %1 board has (%2 after the size); the sizes solved are %3 to %4</translation>
    </message>
    <message>
        <source>число %1 вне пределов</source>
        <translation>number %1 is out of range</translation>
    </message>
    <message>
        <source>«%1» не число</source>
        <translation>&apos;%1&apos; is not a number</translation>
    </message>
    <message>
        <source>нет размера доски</source>
        <translation>no board size</translation>
    </message>
</context>
<context>
    <name>PictureFile</name>
    <message>
        <source>Файл рисунка обрезан: его данных не хватает на рисунок %1 x %2 точек.</source>
        <translation>The picture file is cut short: its data are not enough for a picture of %1 x %2 pixels.</translation>
    </message>
    <message>
        <source>Это не точечный рисунок BMP.</source>
        <translation>This is not a BMP bitmap.</translation>
    </message>
    <message>
        <source>Заголовок рисунка BMP повреждён.</source>
        <translation>The header of the BMP picture is damaged.</translation>
    </message>
    <message>
        <source>Это не рисунок GIF.</source>
        <translation>This is not a GIF picture.</translation>
    </message>
    <message>
        <source>В файле GIF нет рисунка.</source>
        <translation>The GIF file holds no picture.</translation>
    </message>
    <message>
        <source>Рисунок GIF повреждён.</source>
        <translation>The GIF picture is damaged.</translation>
    </message>
    <message>
        <source>Рисунок JPEG повреждён.</source>
        <translation>The JPEG picture is damaged.</translation>
    </message>
    <message>
        <source>Рисунок JPEG разбит больше чем на %1 проходов: его чтение заняло бы слишком много времени.</source>
        <translation>The JPEG picture is split into more than %1 scans: reading it would take too long.</translation>
    </message>
    <message>
        <source>Это не рисунок JPEG.</source>
        <translation>This is not a JPEG picture.</translation>
    </message>
    <message>
        <source>Рисунки JPEG с арифметическим кодированием не открываются.</source>
        <translation>JPEG pictures with arithmetic coding cannot be opened.</translation>
    </message>
    <message>
        <source>Файл не найден.</source>
        <translation>The file is not there.</translation>
    </message>
    <message>
        <source>Файл нельзя открыть для чтения: </source>
        <translation>The file cannot be opened for reading: </translation>
    </message>
    <message>
        <source>Это не файл.</source>
        <translation>This is not a file.</translation>
    </message>
    <message>
        <source>Файл слишком велик для рисунка: в нём больше %1 МБ.</source>
        <translation>The file is too large for a picture: it holds more than %1 MB.</translation>
    </message>
    <message>
        <source>Файл пуст.</source>
        <translation>The file is empty.</translation>
    </message>
    <message>
        <source>Файл нельзя прочитать: </source>
        <translation>The file cannot be read: </translation>
    </message>
    <message>
        <source>Файл стал короче, пока его читали.</source>
        <translation>The file became shorter while it was read.</translation>
    </message>
    <message>
        <source>Это не рисунок, или программа не знает его формата.</source>
        <translation>This is not a picture, or its format is unknown to the program.</translation>
    </message>
    <message>
        <source>Размеры рисунка неверны.</source>
        <translation>The picture&apos;s size is wrong.</translation>
    </message>
    <message>
        <source>Рисунок слишком велик: чтобы его прочитать, нужно слишком много памяти.</source>
        <translation>The picture is too large: reading it would take too much memory.</translation>
    </message>
    <message>
        <source>Рисунок повреждён или обрезан (%1).</source>
        <translation>The picture is damaged or cut short (%1).</translation>
    </message>
    <message>
        <source>Все рисунки ( %1 )</source>
        <translation>All pictures ( %1 )</translation>
    </message>
    <message>
        <source>Рисунки %1 ( %2 )</source>
        <translation>%1 pictures ( %2 )</translation>
    </message>
    <message>
        <source>Файл HEIF обрезан или повреждён: его части выходят за конец файла.</source>
        <translation>The HEIF file is cut short or damaged: its parts reach past the end of the file.</translation>
    </message>
    <message>
        <source>Рисунок HEIF слишком сложен: в нём больше %1 частей.</source>
        <translation>The HEIF picture is too complex: it has more than %1 parts.</translation>
    </message>
    <message>
        <source>В файле HEIF нет рисунка.</source>
        <translation>The HEIF file holds no picture.</translation>
    </message>
    <message>
        <source>Рисунок HEIF повреждён или обрезан (%1).</source>
        <translation>The HEIF picture is damaged or cut short (%1).</translation>
    </message>
    <message>
        <source>Рисунок слишком велик: в нём больше %1 миллионов точек.</source>
        <translation>The picture is too large: it has more than %1 million pixels.</translation>
    </message>
    <message>
        <source>Рисунок HEIF повреждён: его размеры неверны.</source>
        <translation>The HEIF picture is damaged: its size is wrong.</translation>
    </message>
    <message>
        <source>Это не рисунок TIFF.</source>
        <translation>This is not a TIFF picture.</translation>
    </message>
    <message>
        <source>Рисунок TIFF повреждён.</source>
        <translation>The TIFF picture is damaged.</translation>
    </message>
    <message>
        <source>В файле TIFF больше %1 страниц.</source>
        <translation>The TIFF file has more than %1 pages.</translation>
    </message>
    <message>
        <source>Рисунок TIFF повреждён: его плитки больше самого рисунка.</source>
        <translation>The TIFF picture is damaged: its tiles are larger than the picture itself.</translation>
    </message>
    <message>
        <source>Это не рисунок WebP.</source>
        <translation>This is not a WebP picture.</translation>
    </message>
    <message>
        <source>В рисунок SVG вложен рисунок, который так не открывается.</source>
        <translation>The SVG picture holds an embedded picture that does not open.</translation>
    </message>
    <message>
        <source>Точечные рисунки ( %1 )</source>
        <translation>Bitmap pictures ( %1 )</translation>
    </message>
    <message>
        <source>Все файлы ( * )</source>
        <translation>All files ( * )</translation>
    </message>
    <message>
        <source>Рисунок SVGZ нельзя распаковать.</source>
        <translation>The SVGZ picture cannot be unpacked.</translation>
    </message>
    <message>
        <source>Рисунок SVG слишком велик: его текст длиннее %1 МБ.</source>
        <translation>The SVG picture is too large: its text is longer than %1 MB.</translation>
    </message>
    <message>
        <source>Файл SVGZ обрезан.</source>
        <translation>The SVGZ file is cut short.</translation>
    </message>
    <message>
        <source>Рисунок SVGZ повреждён.</source>
        <translation>The SVGZ picture is damaged.</translation>
    </message>
    <message>
        <source>Рисунок SVG ссылается на что-то вне себя.</source>
        <translation>The SVG picture refers to something outside itself.</translation>
    </message>
    <message>
        <source>Рисунок, вложенный в рисунок SVG, повреждён.</source>
        <translation>A picture embedded in the SVG picture is damaged.</translation>
    </message>
    <message>
        <source>Рисунки, вложенные в рисунок SVG, слишком велики.</source>
        <translation>The pictures embedded in the SVG picture are too large.</translation>
    </message>
    <message>
        <source>Рисунок SVG повреждён: его сущности вложены одна в другую.</source>
        <translation>The SVG picture is damaged: its entities are nested in one another.</translation>
    </message>
    <message>
        <source>Это не рисунок SVG.</source>
        <translation>This is not an SVG picture.</translation>
    </message>
    <message>
        <source>Рисунок SVG вложен слишком глубоко.</source>
        <translation>The SVG picture is nested too deep.</translation>
    </message>
    <message>
        <source>Рисунок SVG слишком сложен: в нём больше %1 элементов.</source>
        <translation>The SVG picture is too complex: it has more than %1 elements.</translation>
    </message>
    <message>
        <source>Рисунок SVG слишком велик: его текст слишком длинен.</source>
        <translation>The SVG picture is too large: its text is too long.</translation>
    </message>
    <message>
        <source>Рисунок SVG повреждён или обрезан (%1).</source>
        <translation>The SVG picture is damaged or cut short (%1).</translation>
    </message>
    <message>
        <source>Рисунок SVG повреждён: элемент копирует сам себя.</source>
        <translation>The SVG picture is damaged: an element copies itself.</translation>
    </message>
    <message>
        <source>Рисунок SVG повреждён: его размеры неверны.</source>
        <translation>The SVG picture is damaged: its size is wrong.</translation>
    </message>
</context>
<context>
    <name>TAbout</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Составь кого-нибудь.</source>
        <translation>Put someone together.</translation>
    </message>
    <message>
        <source>( Например Мозика )</source>
        <translation>( Mozik, say )</translation>
    </message>
    <message>
        <source>Версия : 2.13</source>
        <translation>Version : 2.13</translation>
    </message>
    <message>
        <source>Автор :</source>
        <translation>Author :</translation>
    </message>
</context>
<context>
    <name>TAwayPause</name>
    <message>
        <source>Pause When &amp;Away</source>
        <translation>Pause When &amp;Away</translation>
    </message>
</context>
<context>
    <name>TBoardPanel</name>
    <message>
        <source>Пустая клетка, ряд %1, столбец %2</source>
        <translation>Empty cell, row %1, column %2</translation>
    </message>
    <message>
        <source>%1, ряд %2, столбец %3</source>
        <translation>%1, row %2, column %3</translation>
    </message>
    <message>
        <source>Игровое поле</source>
        <translation>Game board</translation>
    </message>
</context>
<context>
    <name>TDialog</name>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Закрыть.</source>
        <translation>Close.</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Время : </source>
        <translation>Time : </translation>
    </message>
    <message>
        <source>А время идет ...</source>
        <translation>And time goes by ...</translation>
    </message>
    <message>
        <source>Перемешать.</source>
        <translation>Shuffle.</translation>
    </message>
    <message>
        <source>Другой рисунок.</source>
        <translation>Another picture.</translation>
    </message>
    <message>
        <source>Выход из программы.</source>
        <translation>Leave the program.</translation>
    </message>
    <message>
        <source>Пауза.</source>
        <translation>Pause.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>&amp;Open ...</source>
        <translation>&amp;Open ...</translation>
    </message>
    <message>
        <source>&amp;High Scores ...</source>
        <translation>&amp;High Scores ...</translation>
    </message>
    <message>
        <source>&amp;Clear Scores</source>
        <translation>&amp;Clear Scores</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>&amp;Size</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>&amp;Game</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>&amp;Hint</source>
        <translation>&amp;Hint</translation>
    </message>
    <message>
        <source>S&amp;olve</source>
        <translation>S&amp;olve</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>&amp;Peek</source>
        <translation>&amp;Peek</translation>
    </message>
    <message>
        <source>Продолжить.</source>
        <translation>Continue.</translation>
    </message>
    <message>
        <source>&amp;Statistics ...</source>
        <translation>&amp;Statistics ...</translation>
    </message>
    <message>
        <source>&amp;New Game</source>
        <translation>&amp;New Game</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message numerus="yes">
        <source>секунд(ы) .</source>
        <translation>
            <numerusform>second.</numerusform>
            <numerusform>seconds.</numerusform>
        </translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Наберите фамилию, имя и т. д.</source>
        <translation>Type your name.</translation>
    </message>
    <message>
        <source>Поздравляю !!!</source>
        <translation>Well done !!!</translation>
    </message>
    <message>
        <source>Вы собрали картинку за </source>
        <translation>You put it together in </translation>
    </message>
    <message>
        <source>Введите выше имя :</source>
        <translation>Your name :</translation>
    </message>
    <message>
        <source>«%1» не сохранить в таблице результатов: такой буквы в ней нет.</source>
        <translation>&quot;%1&quot; cannot be kept in the score table: it has no such letter.</translation>
    </message>
    <message>
        <source>С подсказками результат не входит в десятку лучших.</source>
        <translation>A game won with hints does not enter the ten best.</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>High Scores</source>
        <translation>High Scores</translation>
    </message>
    <message>
        <source>Таблица результатов :</source>
        <translation>Best times :</translation>
    </message>
    <message>
        <source>Размер картинки.</source>
        <translation>Picture size.</translation>
    </message>
</context>
<context>
    <name>TGameKeeper</name>
    <message>
        <source>это ссылка, созданная другим пользователем</source>
        <translation>it is a link made by another user</translation>
    </message>
    <message>
        <source>путь к нему проходит через ссылку, созданную другим пользователем</source>
        <translation>the way to it goes through a link made by another user</translation>
    </message>
    <message>
        <source>это ссылка, а не файл</source>
        <translation>it is a link, not a file</translation>
    </message>
    <message>
        <source>это папка, а не файл</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>это канал, а не файл</source>
        <translation>it is a pipe, not a file</translation>
    </message>
    <message>
        <source>это устройство, а не файл</source>
        <translation>it is a device, not a file</translation>
    </message>
    <message>
        <source>это не обычный файл</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>файл принадлежит другому пользователю</source>
        <translation>the file belongs to another user</translation>
    </message>
    <message>
        <source>файл слишком велик для отложенной игры</source>
        <translation>the file is too large for a game left in progress</translation>
    </message>
    <message>
        <source>игра записана более новой версией Mozik</source>
        <translation>the game was kept by a later version of Mozik</translation>
    </message>
    <message>
        <source>копия рисунка повреждена</source>
        <translation>the copy of the picture is damaged</translation>
    </message>
    <message>
        <source>Отложенная игра не восстановлена: файл «%1» повреждён. Файл оставлен как есть.</source>
        <translation>The game left in progress does not come back: the file &quot;%1&quot; is damaged. The file is left as it is.</translation>
    </message>
    <message>
        <source>Отложенная игра не восстановлена: файл «%1» повреждён.
Он переименован в «%2».</source>
        <translation>The game left in progress does not come back: the file &quot;%1&quot; is damaged.
It is renamed &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Отложенная игра не восстановлена: файл «%1» оставлен как есть (%2).
Пока он там, игра при выходе не сохраняется.</source>
        <translation>The game left in progress does not come back: the file &quot;%1&quot; is left as it is (%2).
While it is there, no game is kept when you leave.</translation>
    </message>
</context>
<context>
    <name>TGameQuestions</name>
    <message>
        <source>Прервать игру?</source>
        <translation>Abandon this game?</translation>
    </message>
    <message>
        <source>Ходов: %1. Время: %2 с.</source>
        <translation>Moves: %1. Time: %2 s.</translation>
    </message>
    <message>
        <source>Больше не спрашивать</source>
        <translation>Don&apos;t ask again</translation>
    </message>
    <message numerus="yes">
        <source>Удалить %n записей из таблицы результатов?</source>
        <translation>
            <numerusform>Delete %n record from the scores?</numerusform>
            <numerusform>Delete %n records from the scores?</numerusform>
        </translation>
    </message>
    <message>
        <source>Таблицы всех размеров станут пустыми.</source>
        <translation>The tables of every board size will be empty.</translation>
    </message>
</context>
<context>
    <name>THistory</name>
    <message>
        <source>Журнал игр не ведётся: нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite).</source>
        <translation>No history of games is kept: Qt&apos;s SQLite driver is missing (package libqt6sql6-sqlite).</translation>
    </message>
    <message>
        <source>Журнал игр «%1» не открыт: %2.
Сыгранные игры в него не записываются.</source>
        <translation>The history of games &quot;%1&quot; is not opened: %2.
Games played are not written to it.</translation>
    </message>
    <message>
        <source>Нет папки для данных: журнал игр не ведётся.</source>
        <translation>There is no data folder: no history of games is kept.</translation>
    </message>
    <message>
        <source>Журнал игр «%1» защищён от записи: сыгранные игры в него не записываются.</source>
        <translation>The history of games &quot;%1&quot; is write-protected: games played are not written to it.</translation>
    </message>
    <message>
        <source>Журнал игр «%1» записан более новой версией игры: сыгранные игры в него не записываются.</source>
        <translation>The history of games &quot;%1&quot; was written by a newer version of the game: games played are not written to it.</translation>
    </message>
    <message>
        <source>Журнал игр «%1» повреждён, и его не удалось переименовать: %2.
Сыгранные игры не записываются.</source>
        <translation>The history of games &quot;%1&quot; is damaged and could not be renamed: %2.
Games played are not written.</translation>
    </message>
    <message>
        <source>Журнал игр «%1» был повреждён. Он сохранён под именем «%2», и начат новый журнал.</source>
        <translation>The history of games &quot;%1&quot; was damaged. It is kept as &quot;%2&quot;, and a new history is started.</translation>
    </message>
    <message>
        <source>Не удалось записать игру в журнал игр «%1»: %2.
Игра продолжается; запись будет повторена после следующей игры.</source>
        <translation>A game could not be written to the history of games &quot;%1&quot;: %2.
The game goes on; the writing is tried again after the next game.</translation>
    </message>
    <message>
        <source>Не удалось прочитать журнал игр «%1»: %2.</source>
        <translation>The history of games &quot;%1&quot; could not be read: %2.</translation>
    </message>
    <message>
        <source>файл блокировки «%1» не годится (%2); удалите или переименуйте его</source>
        <translation>its lock file &quot;%1&quot; cannot be used (%2); delete or rename it</translation>
    </message>
</context>
<context>
    <name>THistoryTableModel</name>
    <message>
        <source>С подсказками игра не входит в десятку лучших.</source>
        <translation>With hints a game does not enter the ten best.</translation>
    </message>
    <message>
        <source>собрана с подсказками</source>
        <translation>won with hints</translation>
    </message>
    <message>
        <source>собрана</source>
        <translation>won</translation>
    </message>
    <message>
        <source>собрана компьютером</source>
        <translation>solved by the computer</translation>
    </message>
    <message>
        <source>брошена</source>
        <translation>abandoned</translation>
    </message>
    <message>
        <source>Окончена</source>
        <translation>Ended</translation>
    </message>
    <message>
        <source>Время, с</source>
        <translation>Time, s</translation>
    </message>
    <message>
        <source>Ходов</source>
        <translation>Moves</translation>
    </message>
    <message>
        <source>Кратчайшее</source>
        <translation>Shortest</translation>
    </message>
    <message>
        <source>Отмен</source>
        <translation>Undos</translation>
    </message>
    <message>
        <source>Подсказок</source>
        <translation>Hints</translation>
    </message>
    <message>
        <source>Итог</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>Рисунок</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Имя</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>TPictureCommands</name>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Open &amp;Recent</translation>
    </message>
    <message>
        <source>&amp;Built-in Picture</source>
        <translation>&amp;Built-in Picture</translation>
    </message>
    <message>
        <source>&amp;Paste Picture</source>
        <translation>&amp;Paste Picture</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>&amp;Clear List</translation>
    </message>
    <message>
        <source>Рисунка «%1» больше нет, и он убран из списка.</source>
        <translation>The picture &quot;%1&quot; is gone, and has been taken off the list.</translation>
    </message>
    <message>
        <source>В буфере обмена нет рисунка.</source>
        <translation>There is no picture on the clipboard.</translation>
    </message>
</context>
<context>
    <name>TScoreFile</name>
    <message>
        <source>это ссылка, созданная другим пользователем</source>
        <translation>it is a link made by another user</translation>
    </message>
    <message>
        <source>путь к файлу проходит через ссылку, созданную другим пользователем</source>
        <translation>the way to the file goes through a link made by another user</translation>
    </message>
    <message>
        <source>ссылка ведёт к файлу, которого нет</source>
        <translation>it is a link to a file that is not there</translation>
    </message>
    <message>
        <source>это ссылка, а не файл</source>
        <translation>it is a link, not a file</translation>
    </message>
    <message>
        <source>это папка, а не файл</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>это канал, а не файл</source>
        <translation>it is a pipe, not a file</translation>
    </message>
    <message>
        <source>это устройство, а не файл</source>
        <translation>it is a device, not a file</translation>
    </message>
    <message>
        <source>это не обычный файл</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>файл принадлежит другому пользователю</source>
        <translation>the file belongs to another user</translation>
    </message>
    <message>
        <source>файл больше 64 КБ, таблица результатов такой не бывает</source>
        <translation>the file is larger than 64 KB, which no score table is</translation>
    </message>
    <message>
        <source>файл защищён от записи</source>
        <translation>the file is write-protected</translation>
    </message>
    <message>
        <source>файл занят другим окном игры</source>
        <translation>another window of the game holds the file</translation>
    </message>
    <message>
        <source>Не удалось записать таблицу результатов в файл «%1»: %2.</source>
        <translation>The scores could not be written to the file &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Файл «%1» в папке запуска оставлен как есть: %2.</source>
        <translation>The file &quot;%1&quot; in the start folder is left as it is: %2.</translation>
    </message>
    <message>
        <source>
Таблица результатов хранится в файле «%1».</source>
        <translation>
The scores are kept in the file &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Не найдена папка для данных (переменная HOME не задана или не указывает на папку).
Таблица результатов хранится только в памяти, до выхода из игры.</source>
        <translation>No data folder was found (HOME is not set or names no folder).
The scores are kept in memory only, until the game ends.</translation>
    </message>
    <message>
        <source>Файл «%1» защищён от записи: таблица результатов прочитана из него, но результаты в этот раз не будут сохранены.</source>
        <translation>The file &quot;%1&quot; is write-protected: the scores were read from it, but this time no result will be saved.</translation>
    </message>
    <message>
        <source>Не удалось прочитать таблицу результатов из файла «%1»: %2.
Файл остаётся как есть; результаты в этот раз не будут сохранены.</source>
        <translation>The scores could not be read from the file &quot;%1&quot;: %2.
The file is left as it is; this time no result will be saved.</translation>
    </message>
    <message>
        <source>
Таблица пока хранится в памяти: игра попробует записать её снова при следующем изменении и при выходе.</source>
        <translation>
The scores are kept in memory for now: the game will try to write them again at the next change and at exit.</translation>
    </message>
    <message>
        <source>Удалите или переименуйте «%1».</source>
        <translation>Delete or rename &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Уберите чужую ссылку с пути к «%1».</source>
        <translation>Remove the other user&apos;s link on the way to &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Разрешите запись в «%1».</source>
        <translation>Allow writing to &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Освободите место на диске, где лежит «%1».</source>
        <translation>Free some space on the disk that holds &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Проверьте права доступа к «%1» и к его папке.</source>
        <translation>Check the permissions of &quot;%1&quot; and of its folder.</translation>
    </message>
    <message>
        <source>Не удалось записать таблицу результатов в файл «%1»: файл блокировки «%2» не годится (%3).</source>
        <translation>The scores could not be written to the file &quot;%1&quot;: its lock file &quot;%2&quot; cannot be used (%3).</translation>
    </message>
    <message>
        <source>Файл блокировки «%1» не годится: %2.
Таблица результатов всё равно записана в «%3».</source>
        <translation>The lock file &quot;%1&quot; cannot be used: %2.
The scores were written to &quot;%3&quot; all the same.</translation>
    </message>
</context>
<context>
    <name>TScoreTable</name>
    <message>
        <source>Неизвестный</source>
        <translation>Unknown</translation>
    </message>
</context>
<context>
    <name>TSession</name>
    <message>
        <source>Не удалось открыть рисунок «%1».
%2</source>
        <translation>The picture &quot;%1&quot; could not be opened.
%2</translation>
    </message>
    <message>
        <source>Игра не начата</source>
        <translation>No game yet</translation>
    </message>
    <message>
        <source>Ходов: %1</source>
        <translation>Moves: %1</translation>
    </message>
    <message>
        <source>Кратчайшее решение: %1</source>
        <translation>Shortest solution: %1</translation>
    </message>
    <message>
        <source>Рисунок собран компьютером</source>
        <translation>Put together by the computer</translation>
    </message>
    <message>
        <source>Рисунок собран</source>
        <translation>Picture complete</translation>
    </message>
    <message>
        <source>Собирает компьютер</source>
        <translation>The computer is solving</translation>
    </message>
    <message>
        <source>Пауза</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>Виден весь рисунок</source>
        <translation>Whole picture shown</translation>
    </message>
    <message>
        <source>Ходов: %1 · кратчайшее: %2</source>
        <translation>Moves: %1 · shortest: %2</translation>
    </message>
    <message>
        <source>Вставленный рисунок</source>
        <translation>Pasted picture</translation>
    </message>
    <message>
        <source>Не удалось открыть рисунок отложенной игры «%1».
%2
Игра продолжается на встроенном рисунке.</source>
        <translation>The picture of the game left in progress, &quot;%1&quot;, cannot be opened.
%2
The game goes on with the built-in picture.</translation>
    </message>
</context>
<context>
    <name>TStatisticsWindow</name>
    <message>
        <source>Собрано игр:</source>
        <translation>Games won:</translation>
    </message>
    <message>
        <source>Лучшее время:</source>
        <translation>Best time:</translation>
    </message>
    <message>
        <source>Меньше всего ходов:</source>
        <translation>Fewest moves:</translation>
    </message>
    <message>
        <source>Среднее время:</source>
        <translation>Mean time:</translation>
    </message>
    <message>
        <source>Медиана времени:</source>
        <translation>Median time:</translation>
    </message>
    <message>
        <source>Среднее из 5:</source>
        <translation>Average of 5:</translation>
    </message>
    <message>
        <source>Среднее из 12:</source>
        <translation>Average of 12:</translation>
    </message>
    <message>
        <source>Ходов в секунду:</source>
        <translation>Moves per second:</translation>
    </message>
    <message>
        <source>Ходов на кратчайший:</source>
        <translation>Moves over shortest:</translation>
    </message>
    <message>
        <source>%1 с</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Статистика</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Export CSV ...</source>
        <translation>Export CSV ...</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Сохранить журнал игр</source>
        <translation>Save the history of games</translation>
    </message>
    <message>
        <source>Таблица CSV</source>
        <translation>CSV table</translation>
    </message>
    <message>
        <source>Не удалось записать файл «%1»: %2.</source>
        <translation>The file &quot;%1&quot; could not be written: %2.</translation>
    </message>
</context>
<context>
    <name>TTimeChart</name>
    <message>
        <source>Здесь будет время каждой собранной игры.</source>
        <translation>The time of every game won will show here.</translation>
    </message>
    <message>
        <source>время игры, с</source>
        <translation>time of the game, s</translation>
    </message>
    <message>
        <source>среднее из 5</source>
        <translation>average of 5</translation>
    </message>
</context>
<context>
    <name>TWindowModes</name>
    <message>
        <source>&amp;Animation</source>
        <translation>&amp;Animation</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Full Screen</translation>
    </message>
    <message>
        <source>&amp;Status Line</source>
        <translation>&amp;Status Line</translation>
    </message>
    <message>
        <source>&amp;Keep Proportions</source>
        <translation>&amp;Keep Proportions</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>&amp;Automatic</translation>
    </message>
    <message>
        <source>&amp;Numbers</source>
        <translation>&amp;Numbers</translation>
    </message>
    <message>
        <source>&amp;Sound</source>
        <translation>&amp;Sound</translation>
    </message>
</context>
</TS>
