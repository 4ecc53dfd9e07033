<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ProductEditorDialog</name>
    <message>
        <source>Product Information</source>
        <translation>Produktinformation</translation>
    </message>
</context>
<context>
    <name>ProductText</name>
    <message>
        <source>Program Name</source>
        <translation>Programmname</translation>
    </message>
</context>
</TS>
