<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Setting</name>
    <message>
        <source>Slect screen capture game path</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
