<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Common::UpdateHelper</name>
    <message>
        <source>x64</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
