<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="ru_RU">
<context>
    <name>TForm2</name>
    <message numerus="yes">
        <source>секунд(ы) .</source>
        <translation>
            <numerusform>секунд(ы) .</numerusform>
            <numerusform>секунд(ы) .</numerusform>
            <numerusform>секунд(ы) .</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TGameQuestions</name>
    <message numerus="yes">
        <source>Удалить %n записей из таблицы результатов?</source>
        <translation>
            <numerusform>Удалить %n запись из таблицы результатов?</numerusform>
            <numerusform>Удалить %n записи из таблицы результатов?</numerusform>
            <numerusform>Удалить %n записей из таблицы результатов?</numerusform>
        </translation>
    </message>
</context>
</TS>
