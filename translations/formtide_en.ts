<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>FillSummary</name>
    <message numerus="yes">
        <source>%n field(s)</source>
        <translation>
            <numerusform>%n field</numerusform>
            <numerusform>%n fields</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n list(s)</source>
        <translation>
            <numerusform>%n list</numerusform>
            <numerusform>%n lists</numerusform>
        </translation>
    </message>
</context>
</TS>
