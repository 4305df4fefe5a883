<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>Setting</name>
    <message>
        <source>Slect screen capture game path</source>
        <translation>Выберите папку для снимков игр</translation>
    </message>
</context>
</TS>
