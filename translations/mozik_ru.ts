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
</TS>
