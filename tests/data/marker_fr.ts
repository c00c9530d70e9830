<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A second French translation that tells where a loaded file came from. -->
<TS version="2.1" language="fr">
<context>
    <name>MainWindow</name>
    <message>
        <source>Connect</source>
        <translation>Marker</translation>
    </message>
</context>
</TS>
