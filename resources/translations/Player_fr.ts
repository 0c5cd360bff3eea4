<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>LibTarnCommon::LogDialog</name>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Clear all log messages</source>
        <translation>Effacer tous les messages</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Journal</translation>
    </message>
</context>
<context>
    <name>Common::UpdateHelper</name>
    <message>
        <source>x64</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
