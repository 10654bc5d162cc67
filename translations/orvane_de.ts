<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AddInBusService</name>
    <message>
        <source>no session bus</source>
        <translation>kein Sitzungsbus</translation>
    </message>
    <message>
        <source>the automation objects could not be registered</source>
        <translation>die Objekte der Automation ließen sich nicht anmelden</translation>
    </message>
    <message>
        <source>another program owns %1 on the session bus; Orvane takes the name when that program lets it go</source>
        <translation>ein anderes Programm belegt %1 auf dem Sitzungsbus; Orvane übernimmt den Namen, sobald jenes Programm ihn freigibt</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Options:: -Cx = Connect to Com x ; -M = Mini ; -TL = Mini Position TopLeft ; -TR = Mini Position TopRight ; -BL = Mini Position BottomLeft ; -P Power On by Connect</source>
        <translation>Optionen: -Cx = mit Com x verbinden ; -M = Mini ; -TL = Mini-Position oben links ; -TR = Mini-Position oben rechts ; -BL = Mini-Position unten links ; -P = beim Verbinden einschalten</translation>
    </message>
</context>
<context>
    <name>ConnectionControl</name>
    <message>
        <source>Connect on Com %1</source>
        <translation>Verbinden über Com %1</translation>
    </message>
    <message>
        <source>no answer from the receiver to %1 requests for its settings; is it switched on and its cable plugged in?</source>
        <translation>keine Antwort des Receivers auf %1 Anfragen nach seinen Einstellungen; ist er eingeschaltet und sein Kabel eingesteckt?</translation>
    </message>
    <message>
        <source>the port was lost while waiting for the receiver</source>
        <translation>die Schnittstelle ging beim Warten auf den Receiver verloren</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Complete Reset only with &apos;Diagnostic Menu&apos; !</source>
        <translation>Vollständiger Reset nur über das &apos;Diagnostic Menu&apos;!</translation>
    </message>
    <message>
        <source>Reset all Orvane RS-232 settings ?</source>
        <translation>Alle RS-232-Einstellungen des Orvane zurücksetzen?</translation>
    </message>
    <message>
        <source>Orvane Reset</source>
        <translation>Orvane zurücksetzen</translation>
    </message>
    <message>
        <source>Unknown Orvane Model</source>
        <translation>Unbekanntes Orvane-Modell</translation>
    </message>
    <message>
        <source>New Orvane Model:</source>
        <translation>Neues Orvane-Modell:</translation>
    </message>
    <message>
        <source>To make this Software better :</source>
        <translation>Damit diese Software besser wird:</translation>
    </message>
    <message>
        <source>Send a email to the Software developer with Orvane connection string !</source>
        <translation>Senden Sie dem Entwickler der Software eine E-Mail mit der Verbindungszeichenkette des Orvane!</translation>
    </message>
    <message>
        <source>Complete the Email with the Orvane model description !</source>
        <translation>Ergänzen Sie die E-Mail um die Modellbezeichnung des Orvane!</translation>
    </message>
    <message>
        <source>Send E-mail ?</source>
        <translation>E-Mail senden?</translation>
    </message>
</context>
<context>
    <name>DebugLogFile</name>
    <message>
        <source>Cannot open %1 (%2) nor %3: %4</source>
        <translation>Weder %1 (%2) noch %3 lässt sich öffnen: %4</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 lässt sich nicht öffnen: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 lässt sich nicht schreiben: %2</translation>
    </message>
</context>
<context>
    <name>Form_AddIns</name>
    <message>
        <source>AddIn</source>
        <translation>Add-in</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>Form_Com</name>
    <message>
        <source>DEBUG  - COM - TERMINAL</source>
        <translation>DEBUG  - COM - TERMINAL</translation>
    </message>
    <message>
        <source>Code to send</source>
        <translation>Zu sendender Code</translation>
    </message>
    <message>
        <source>&amp;Send</source>
        <translation>&amp;Senden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Datenverkehr</translation>
    </message>
    <message>
        <source>Log file: %1</source>
        <translation>Protokolldatei: %1</translation>
    </message>
    <message>
        <source>Logging stopped: %1</source>
        <translation>Protokoll angehalten: %1</translation>
    </message>
</context>
<context>
    <name>Form_ControlCenter</name>
    <message>
        <source>Display line 1</source>
        <translation>Anzeigezeile 1</translation>
    </message>
    <message>
        <source>Display line 2</source>
        <translation>Anzeigezeile 2</translation>
    </message>
    <message>
        <source>Player title</source>
        <translation>Titel im Player</translation>
    </message>
    <message>
        <source>Input -</source>
        <translation>Eingang -</translation>
    </message>
    <message>
        <source>Input +</source>
        <translation>Eingang +</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <source>Input Mode</source>
        <translation>Eingangsmodus</translation>
    </message>
    <message>
        <source>Volume +</source>
        <translation>Lautstärke +</translation>
    </message>
    <message>
        <source>Volume -</source>
        <translation>Lautstärke -</translation>
    </message>
    <message>
        <source>Winamp previous</source>
        <translation>Winamp zurück</translation>
    </message>
    <message>
        <source>Winamp next</source>
        <translation>Winamp weiter</translation>
    </message>
    <message>
        <source>open/close</source>
        <translation>öffnen/schließen</translation>
    </message>
    <message>
        <source>Standby/On</source>
        <translation>Standby/Ein</translation>
    </message>
    <message>
        <source>Orvane — receiver remote control</source>
        <translation>Orvane — Fernbedienung für Receiver</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Eingang</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Speakers A</source>
        <translation>Lautsprecher A</translation>
    </message>
    <message>
        <source>Speakers B</source>
        <translation>Lautsprecher B</translation>
    </message>
    <message>
        <source>Zone 2</source>
        <translation>Zone 2</translation>
    </message>
    <message>
        <source>Sound Field Processor</source>
        <translation>Klangfeldprozessor</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Verbinden</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Com %1</source>
        <translation>Com %1</translation>
    </message>
    <message>
        <source>&amp;Ports...</source>
        <translation>&amp;Anschlüsse...</translation>
    </message>
    <message>
        <source>&amp;Home automation...</source>
        <translation>&amp;Hausautomation...</translation>
    </message>
    <message>
        <source>Real Time</source>
        <translation>Echtzeit</translation>
    </message>
    <message>
        <source>Debug View</source>
        <translation>Fehlersuche-Ansicht</translation>
    </message>
    <message>
        <source>Create Logfile</source>
        <translation>Protokolldatei anlegen</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <translation>&amp;Reset</translation>
    </message>
    <message>
        <source>&amp;TimeControl</source>
        <translation>&amp;Zeitplan</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>Aktiviert</translation>
    </message>
    <message>
        <source>Config</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Mode</source>
        <translation>&amp;Modus</translation>
    </message>
    <message>
        <source>Zone2</source>
        <translation>Zone2</translation>
    </message>
    <message>
        <source>Main/Master</source>
        <translation>Hauptzone/Master</translation>
    </message>
    <message>
        <source>S&amp;leepTimer</source>
        <translation>Sch&amp;laftimer</translation>
    </message>
    <message>
        <source>&amp;Volume</source>
        <translation>L&amp;autstärke</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Mute Zone2</source>
        <translation>Stumm Zone2</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>M&amp;ini</source>
        <translation>M&amp;ini</translation>
    </message>
    <message>
        <source>E&amp;xtras</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>6.1/ES Key -Window max/minimize</source>
        <translation>6.1/ES-Taste - Fenster max./minimieren</translation>
    </message>
    <message>
        <source>6.1/ES Key - Winamp Next/Previous Track</source>
        <translation>6.1/ES-Taste - Winamp nächster/vorheriger Titel</translation>
    </message>
    <message>
        <source>6.1/ES Key - Shell Command</source>
        <translation>6.1/ES-Taste - Shell-Befehl</translation>
    </message>
    <message>
        <source>Multimedia Keycontrol Winamp</source>
        <translation>Multimediatasten steuern Winamp</translation>
    </message>
    <message>
        <source>Multimedia Keycontrol Orvane</source>
        <translation>Multimediatasten steuern Orvane</translation>
    </message>
    <message>
        <source>Send Message to Display - Test</source>
        <translation>Nachricht an die Anzeige senden - Test</translation>
    </message>
    <message>
        <source>Orvane information</source>
        <translation>Orvane-Informationen</translation>
    </message>
    <message>
        <source>&amp;AddIn</source>
        <translation>A&amp;dd-in</translation>
    </message>
    <message>
        <source>POWER</source>
        <translation>EIN/AUS</translation>
    </message>
    <message>
        <source>VOLUME</source>
        <translation>LAUTSTÄRKE</translation>
    </message>
    <message>
        <source>ZONE 2</source>
        <translation>ZONE 2</translation>
    </message>
    <message>
        <source>MUTE</source>
        <translation>STUMM</translation>
    </message>
    <message>
        <source>&amp;End</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Informationen</source>
        <translation>Informationen</translation>
    </message>
    <message>
        <source>About Orvane...</source>
        <translation>Über Orvane...</translation>
    </message>
    <message>
        <source>Rec Out</source>
        <translation>Rec Out</translation>
    </message>
    <message>
        <source>Connect first !</source>
        <translation>Bitte zuerst verbinden!</translation>
    </message>
    <message>
        <source>Shell Command with full Path: </source>
        <translation>Shell-Befehl mit vollständigem Pfad: </translation>
    </message>
    <message>
        <source>Shell Command</source>
        <translation>Shell-Befehl</translation>
    </message>
    <message>
        <source>Text to send display:</source>
        <translation>Text für die Anzeige:</translation>
    </message>
    <message>
        <source>Max. 16 characters</source>
        <translation>Max. 16 Zeichen</translation>
    </message>
    <message>
        <source>This function works only at newer Orvane models</source>
        <translation>Diese Funktion geht nur mit neueren Orvane-Modellen</translation>
    </message>
    <message>
        <source>Text to display - Beta</source>
        <translation>Text anzeigen - Beta</translation>
    </message>
    <message>
        <source>&amp;Web remote...</source>
        <translation>&amp;Web-Fernbedienung...</translation>
    </message>
</context>
<context>
    <name>Form_ErrBox</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Error Description</source>
        <translation>Fehlerbeschreibung</translation>
    </message>
    <message>
        <source>&amp;Send Report</source>
        <translation>Bericht &amp;senden</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Error in </source>
        <translation>Fehler in </translation>
    </message>
    <message>
        <source> (Line </source>
        <translation> (Zeile </translation>
    </message>
    <message>
        <source>Version: %1.%2.%3</source>
        <translation>Version: %1.%2.%3</translation>
    </message>
    <message>
        <source>Beschreibung:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>No mail program could be opened for the error report.
The report has been copied to the clipboard; please send it to %1.</source>
        <translation>Für den Fehlerbericht ließ sich kein E-Mail-Programm öffnen.
Der Bericht wurde in die Zwischenablage kopiert; bitte senden Sie ihn an %1.</translation>
    </message>
</context>
<context>
    <name>Form_Informationen</name>
    <message>
        <source>-Cx = Connect amplifier at Com X</source>
        <translation>-Cx = Verstärker an Com X verbinden</translation>
    </message>
    <message>
        <source>-M  = Starts in mini mode</source>
        <translation>-M  = startet im Mini-Modus</translation>
    </message>
    <message>
        <source>-TL = mini window position &quot;Top Left&quot;</source>
        <translation>-TL = Mini-Fenster &quot;oben links&quot;</translation>
    </message>
    <message>
        <source>-TR = mini window position &quot;Top Right&quot;</source>
        <translation>-TR = Mini-Fenster &quot;oben rechts&quot;</translation>
    </message>
    <message>
        <source>-BL = mini window position &quot;Bottom Left&quot;</source>
        <translation>-BL = Mini-Fenster &quot;unten links&quot;</translation>
    </message>
    <message>
        <source>-BR = mini window position &quot;Bottom Right&quot; Default</source>
        <translation>-BR = Mini-Fenster &quot;unten rechts&quot; (Vorgabe)</translation>
    </message>
    <message>
        <source>-P  = Power On</source>
        <translation>-P  = Einschalten</translation>
    </message>
    <message>
        <source>-?  = Help</source>
        <translation>-?  = Hilfe</translation>
    </message>
    <message>
        <source>F4  - Volume A</source>
        <translation>F4  - Lautstärke A</translation>
    </message>
    <message>
        <source>F5  - Volume B</source>
        <translation>F5  - Lautstärke B</translation>
    </message>
    <message>
        <source>F6  - Volume C</source>
        <translation>F6  - Lautstärke C</translation>
    </message>
    <message>
        <source>F7  - Volume D</source>
        <translation>F7  - Lautstärke D</translation>
    </message>
    <message>
        <source>F8  - Volume E</source>
        <translation>F8  - Lautstärke E</translation>
    </message>
    <message>
        <source>F9  - Volume F</source>
        <translation>F9  - Lautstärke F</translation>
    </message>
    <message>
        <source>F12 - Mute</source>
        <translation>F12 - Stumm</translation>
    </message>
    <message>
        <source>Important:</source>
        <translation>Wichtig:</translation>
    </message>
    <message>
        <source>To prevent possible amplifier damage, unplug the</source>
        <translation>Um Schäden am Verstärker zu vermeiden, ziehen Sie</translation>
    </message>
    <message>
        <source>mains supply before connecting the RS 232 cable!</source>
        <translation>vor dem Anschließen des RS-232-Kabels den Netzstecker!</translation>
    </message>
    <message>
        <source>Information for Orvane</source>
        <translation>Informationen zu Orvane</translation>
    </message>
    <message>
        <source>Starting and operating Orvane</source>
        <translation>Orvane starten und bedienen</translation>
    </message>
    <message>
        <source> - remote control for AV receivers</source>
        <translation> - Fernbedienung für AV-Receiver</translation>
    </message>
    <message>
        <source>Command options</source>
        <translation>Befehlszeilenoptionen</translation>
    </message>
    <message>
        <source>Command options: </source>
        <translation>Befehlszeilenoptionen: </translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <source>Keys: </source>
        <translation>Tasten: </translation>
    </message>
    <message>
        <source>Connecting the receiver</source>
        <translation>Den Receiver anschließen</translation>
    </message>
    <message>
        <source>Serial cable</source>
        <translation>Serielles Kabel</translation>
    </message>
    <message>
        <source>Important</source>
        <translation>Wichtig</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>Form_Intro</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>Remote control for AV receivers</source>
        <translation>Fernbedienung für AV-Receiver</translation>
    </message>
    <message>
        <source>Free software: GNU GPL 3 or later; control libraries GNU LGPL 2.1 or later</source>
        <translation>Freie Software: GNU GPL 3 oder neuer; Steuerelement-Bibliotheken GNU LGPL 2.1 oder neuer</translation>
    </message>
</context>
<context>
    <name>Form_Mini</name>
    <message>
        <source>Volume -</source>
        <translation>Lautstärke -</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>Volume +</source>
        <translation>Lautstärke +</translation>
    </message>
    <message>
        <source>minimize</source>
        <translation>minimieren</translation>
    </message>
    <message>
        <source>close</source>
        <translation>schließen</translation>
    </message>
</context>
<context>
    <name>Form_YInfo</name>
    <message>
        <source>Orvane Information</source>
        <translation>Orvane-Informationen</translation>
    </message>
    <message>
        <source>Receiver</source>
        <translation>Receiver</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation>Modell:</translation>
    </message>
    <message>
        <source>Model ID:</source>
        <translation>Modellkennung:</translation>
    </message>
    <message>
        <source>Softwareversion :</source>
        <translation>Softwareversion:</translation>
    </message>
    <message>
        <source>Orvane return string:</source>
        <translation>Antwort des Receivers:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>Form_ZS</name>
    <message>
        <source>Time Control</source>
        <translation>Zeitsteuerung</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Stunde</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>On the date</source>
        <translation>Am Datum</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Every Day</source>
        <translation>Jeden Tag</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Aktion</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Script &amp;load</source>
        <translation>Skript &amp;laden</translation>
    </message>
    <message>
        <source>Script &amp;save</source>
        <translation>Skript &amp;speichern</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Select action first !</source>
        <translation>Bitte zuerst eine Aktion wählen!</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Overwrite existing file ?</source>
        <translation>Vorhandene Datei überschreiben?</translation>
    </message>
    <message>
        <source> saved...</source>
        <translation> gespeichert...</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source> is larger than 1 MB and is not a time control script; nothing was loaded.</source>
        <translation> ist größer als 1 MB und kein Skript der Zeitsteuerung; nichts wurde geladen.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot;</source>
        <translation>%1: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Schedule lines without time, day and action, or with a command code that cannot be sent, left out: %1</source>
        <translation>Zeilen des Zeitplans ohne Uhrzeit, Tag und Aktion oder mit einem Befehlscode, der sich nicht senden lässt, ausgelassen: %1</translation>
    </message>
</context>
<context>
    <name>KeyControl</name>
    <message>
        <source>Global keys are unavailable on this desktop: only the keys of the focused Orvane window work.</source>
        <translation>Globale Tasten gibt es auf diesem Desktop nicht: nur die Tasten des Orvane-Fensters mit dem Fokus wirken.</translation>
    </message>
</context>
<context>
    <name>Modul_Lib</name>
    <message>
        <source>Error while creating GUID!</source>
        <translation>Fehler beim Erzeugen der GUID!</translation>
    </message>
</context>
<context>
    <name>Modul_Orvane</name>
    <message>
        <source>Automation: %1</source>
        <translation>Automatisierung: %1</translation>
    </message>
    <message>
        <source>Automation: Orvane now owns %1 on the session bus</source>
        <translation>Automatisierung: Orvane hält jetzt %1 auf dem Sitzungsbus</translation>
    </message>
</context>
<context>
    <name>MqttDialog</name>
    <message>
        <source>Home automation</source>
        <translation>Hausautomation</translation>
    </message>
    <message>
        <source>Orvane can publish the receiver to an MQTT broker, where a home-automation hub finds it by discovery. Leave the broker empty to switch this off.</source>
        <translation>Orvane kann den Receiver bei einem MQTT-Broker veröffentlichen, wo ihn eine Hausautomation per Discovery findet. Lassen Sie den Broker leer, um dies abzuschalten.</translation>
    </message>
    <message>
        <source>Broker:</source>
        <translation>Broker:</translation>
    </message>
    <message>
        <source>mqtt://host:1883 or mqtts://host:8883</source>
        <translation>mqtt://host:1883 oder mqtts://host:8883</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>the system&apos;s certificate authorities</source>
        <translation>die Zertifizierungsstellen des Systems</translation>
    </message>
    <message>
        <source>CA file:</source>
        <translation>CA-Datei:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>CA certificate</source>
        <translation>CA-Zertifikat</translation>
    </message>
    <message>
        <source>Certificates (*.pem *.crt);;All files (*)</source>
        <translation>Zertifikate (*.pem *.crt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Topic:</source>
        <translation>Topic:</translation>
    </message>
    <message>
        <source>Discovery prefix:</source>
        <translation>Discovery-Präfix:</translation>
    </message>
    <message>
        <source>Maximum volume (dB):</source>
        <translation>Höchste Lautstärke (dB):</translation>
    </message>
    <message>
        <source>%1 (the receiver&apos;s top)</source>
        <translation>%1 (Höchstwert des Receivers)</translation>
    </message>
    <message>
        <source>The hub may not set the volume above this.</source>
        <translation>Die Hausautomation darf die Lautstärke nicht höher stellen.</translation>
    </message>
    <message>
        <source>&amp;Try connection</source>
        <translation>Verbindung &amp;testen</translation>
    </message>
    <message>
        <source>Enter a broker first.</source>
        <translation>Bitte zuerst einen Broker eingeben.</translation>
    </message>
    <message>
        <source>Connected: the broker accepted Orvane.</source>
        <translation>Verbunden: Der Broker hat Orvane angenommen.</translation>
    </message>
    <message>
        <source>Could not connect: %1</source>
        <translation>Keine Verbindung: %1</translation>
    </message>
    <message>
        <source>Could not connect: no answer from the broker within %1 s.</source>
        <translation>Keine Verbindung: Der Broker hat binnen %1 s nicht geantwortet.</translation>
    </message>
    <message>
        <source>Trying %1 ...</source>
        <translation>Versuche %1 ...</translation>
    </message>
</context>
<context>
    <name>PasswordSettingsDialog</name>
    <message>
        <source>(unchanged)</source>
        <translation>(unverändert)</translation>
    </message>
    <message>
        <source>The password is kept in the desktop&apos;s secret store; when the store does not answer, in the settings file, which is then readable by you only (mode 0600).</source>
        <translation>Das Passwort liegt im Schlüsselbund des Desktops; antwortet dieser nicht, in der Einstellungsdatei, die dann nur Sie lesen dürfen (Modus 0600).</translation>
    </message>
    <message>
        <source>The password is kept in the settings file, which is then readable by you only (mode 0600).</source>
        <translation>Das Passwort liegt in der Einstellungsdatei, die dann nur Sie lesen dürfen (Modus 0600).</translation>
    </message>
    <message>
        <source>Storing the password...</source>
        <translation>Passwort wird gespeichert...</translation>
    </message>
</context>
<context>
    <name>PortalKeyState</name>
    <message>
        <source>The desktop portal for global shortcuts went away: the global keys are off until it is back.</source>
        <translation>Das Desktop-Portal für globale Tastenkürzel ist verschwunden: Die globalen Tasten sind aus, bis es wieder da ist.</translation>
    </message>
    <message>
        <source>The desktop portal for global shortcuts did not answer the request for a session within %1 seconds: the global keys are off until the portal is restarted.</source>
        <translation>Das Desktop-Portal für globale Tastenkürzel hat die Anfrage nach einer Sitzung nicht binnen %1 Sekunden beantwortet: Die globalen Tasten sind aus, bis das Portal neu startet.</translation>
    </message>
    <message>
        <source>The desktop portal for global shortcuts answered %1 with an error (%2): the global keys are off.</source>
        <translation>Das Desktop-Portal für globale Tastenkürzel hat %1 mit einem Fehler beantwortet (%2): Die globalen Tasten sind aus.</translation>
    </message>
    <message>
        <source>The global shortcuts were cancelled in the desktop&apos;s dialog: the global keys are off.</source>
        <translation>Die globalen Tastenkürzel wurden im Dialog des Desktops abgebrochen: Die globalen Tasten sind aus.</translation>
    </message>
    <message>
        <source>The desktop portal for global shortcuts refused %1 (response %2): the global keys are off.</source>
        <translation>Das Desktop-Portal für globale Tastenkürzel hat %1 abgelehnt (Antwort %2): Die globalen Tasten sind aus.</translation>
    </message>
    <message>
        <source>The desktop portal for global shortcuts answers again: the global keys are bound.</source>
        <translation>Das Desktop-Portal für globale Tastenkürzel antwortet wieder: Die globalen Tasten sind belegt.</translation>
    </message>
</context>
<context>
    <name>PortsDialog</name>
    <message>
        <source>Ports</source>
        <translation>Anschlüsse</translation>
    </message>
    <message>
        <source>Choose the serial device of each port, or enter the address of a serial-to-network bridge as tcp://host:port. Leave a port empty for its default device. Changes take effect at the next connect.</source>
        <translation>Wählen Sie für jeden Anschluss das serielle Gerät oder geben Sie die Adresse einer Seriell-Netzwerk-Brücke als tcp://host:port ein. Ein leerer Anschluss nimmt sein Standardgerät. Änderungen gelten ab dem nächsten Verbinden.</translation>
    </message>
    <message>
        <source>Com %1</source>
        <translation>Com %1</translation>
    </message>
    <message>
        <source>Com %1:</source>
        <translation>Com %1:</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>No serial devices found.</source>
        <translation>Keine seriellen Geräte gefunden.</translation>
    </message>
    <message>
        <source>Com %1: </source>
        <translation>Com %1: </translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid network address. Write tcp://host:port with a port from 1 to 65535.</source>
        <translation>&quot;%1&quot; ist keine gültige Netzwerkadresse. Schreiben Sie tcp://host:port mit einem Port von 1 bis 65535.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither a device path (such as /dev/ttyUSB0) nor a network address (tcp://host:port).</source>
        <translation>&quot;%1&quot; ist weder ein Gerätepfad (wie /dev/ttyUSB0) noch eine Netzwerkadresse (tcp://host:port).</translation>
    </message>
    <message>
        <source>Com %1: %2</source>
        <translation>Com %1: %2</translation>
    </message>
    <message>
        <source>The ports could not be saved: %1</source>
        <translation>Die Anschlüsse ließen sich nicht speichern: %1</translation>
    </message>
</context>
<context>
    <name>QSettingsStore</name>
    <message>
        <source>The settings file &quot;%1&quot; could not be written (no write permission, or its folder cannot be created).</source>
        <translation>Die Einstellungsdatei &quot;%1&quot; ließ sich nicht schreiben (kein Schreibrecht, oder ihr Ordner lässt sich nicht anlegen).</translation>
    </message>
    <message>
        <source>The settings file &quot;%1&quot; is malformed and was not changed.</source>
        <translation>Die Einstellungsdatei &quot;%1&quot; ist fehlerhaft und wurde nicht geändert.</translation>
    </message>
    <message>
        <source>The settings file &quot;%1&quot; could not be written.</source>
        <translation>Die Einstellungsdatei &quot;%1&quot; ließ sich nicht schreiben.</translation>
    </message>
</context>
<context>
    <name>QtSerialPort</name>
    <message>
        <source>Port already open</source>
        <translation>Anschluss ist schon geöffnet</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 lässt sich nicht öffnen: %2</translation>
    </message>
    <message>
        <source>Operation valid only when the port is open</source>
        <translation>Nur bei geöffnetem Anschluss möglich</translation>
    </message>
    <message>
        <source>Cannot write to %1: %2</source>
        <translation>In %1 lässt sich nicht schreiben: %2</translation>
    </message>
</context>
<context>
    <name>ReceiverLink</name>
    <message>
        <source>Connect Error !</source>
        <translation>Verbindungsfehler!</translation>
    </message>
    <message>
        <source>Time Out</source>
        <translation>Zeitüberschreitung</translation>
    </message>
</context>
<context>
    <name>ReportEvaluation</name>
    <message>
        <source>WinAmp muss zuerst gestartet werden,</source>
        <translation>WinAmp muss zuerst gestartet werden,</translation>
    </message>
    <message>
        <source>um ihn auch fernsteuern zu können.</source>
        <translation>um ihn auch fernsteuern zu können.</translation>
    </message>
    <message>
        <source>Falls Sie Winamp3 benutzen dieser wird nicht unterstützt...</source>
        <translation>Falls Sie Winamp3 benutzen dieser wird nicht unterstützt...</translation>
    </message>
</context>
<context>
    <name>RunningInstance</name>
    <message>
        <source>Orvane is already running on this desktop: its window was brought to the front.</source>
        <translation>Orvane läuft bereits auf diesem Desktop: Sein Fenster wurde nach vorn geholt.</translation>
    </message>
</context>
<context>
    <name>SwitchingSerialPort</name>
    <message>
        <source>Cannot open %1: a connection is being made</source>
        <translation>%1 lässt sich nicht öffnen: Eine Verbindung wird gerade aufgebaut</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied. </source>
        <translation>%1 lässt sich nicht öffnen: Zugriff verweigert. </translation>
    </message>
    <message>
        <source>Your user may not use this device. Add it to the group &quot;%1&quot; (for example: sudo adduser $USER %1), then log out and in again.</source>
        <translation>Ihr Benutzer darf dieses Gerät nicht verwenden. Nehmen Sie ihn in die Gruppe &quot;%1&quot; auf (zum Beispiel: sudo adduser $USER %1) und melden Sie sich dann ab und wieder an.</translation>
    </message>
    <message>
        <source>Only its owner, %1, may read and write this device.</source>
        <translation>Nur sein Eigentümer, %1, darf dieses Gerät lesen und schreiben.</translation>
    </message>
    <message>
        <source>No user but root may read and write this device.</source>
        <translation>Nur root darf dieses Gerät lesen und schreiben.</translation>
    </message>
    <message>
        <source> To grant access, give it to the group &quot;dialout&quot; with a udev rule (for example the line SUBSYSTEM==&quot;tty&quot;, KERNEL==&quot;%1&quot;, GROUP=&quot;dialout&quot;, MODE=&quot;0660&quot; in /etc/udev/rules.d/60-orvane.rules), join that group (sudo adduser $USER dialout) and log out and in again; or choose another device for this port under Setup &gt; Ports...</source>
        <translation> Für den Zugriff geben Sie es mit einer udev-Regel der Gruppe &quot;dialout&quot; (zum Beispiel mit der Zeile SUBSYSTEM==&quot;tty&quot;, KERNEL==&quot;%1&quot;, GROUP=&quot;dialout&quot;, MODE=&quot;0660&quot; in /etc/udev/rules.d/60-orvane.rules), treten dieser Gruppe bei (sudo adduser $USER dialout) und melden sich ab und wieder an; oder wählen Sie unter Optionen &gt; Anschlüsse... ein anderes Gerät für diesen Anschluss.</translation>
    </message>
</context>
<context>
    <name>TcpSerialPort</name>
    <message>
        <source>Cannot open %1: a connection is being made</source>
        <translation>%1 lässt sich nicht öffnen: Eine Verbindung wird gerade aufgebaut</translation>
    </message>
    <message>
        <source>Cannot open %1: not a network address (write tcp://host:port, port 1 to 65535)</source>
        <translation>%1 lässt sich nicht öffnen: keine Netzwerkadresse (schreiben Sie tcp://host:port, Port 1 bis 65535)</translation>
    </message>
    <message>
        <source>Cannot connect to %1: %2</source>
        <translation>Keine Verbindung zu %1: %2</translation>
    </message>
    <message>
        <source>The port is not open</source>
        <translation>Der Anschluss ist nicht geöffnet</translation>
    </message>
    <message>
        <source>Cannot write to %1: %2</source>
        <translation>In %1 lässt sich nicht schreiben: %2</translation>
    </message>
</context>
<context>
    <name>WebRemoteDialog</name>
    <message>
        <source>Web remote</source>
        <translation>Web-Fernbedienung</translation>
    </message>
    <message>
        <source>Orvane can serve a remote to the browsers of phones, tablets and computers at home. Leave the address empty to switch it off; 127.0.0.1:8780 serves this computer only, 0.0.0.0:8780 the home network (a password is needed then).</source>
        <translation>Orvane kann den Browsern von Telefonen, Tablets und Computern im Haus eine Fernbedienung bieten. Lassen Sie die Adresse leer, um sie abzuschalten; 127.0.0.1:8780 bedient nur diesen Computer, 0.0.0.0:8780 das Heimnetz (dann ist ein Passwort nötig).</translation>
    </message>
    <message>
        <source>Listen on:</source>
        <translation>Lauschen auf:</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>none: plain HTTP</source>
        <translation>keins: einfaches HTTP</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>PEM files (*.pem *.crt *.key);;All files (*)</source>
        <translation>PEM-Dateien (*.pem *.crt *.key);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Certificate:</source>
        <translation>Zertifikat:</translation>
    </message>
    <message>
        <source>Certificate (PEM)</source>
        <translation>Zertifikat (PEM)</translation>
    </message>
    <message>
        <source>Key:</source>
        <translation>Schlüssel:</translation>
    </message>
    <message>
        <source>Private key (PEM)</source>
        <translation>Privater Schlüssel (PEM)</translation>
    </message>
    <message>
        <source>Open %1 in a browser, or point a phone&apos;s camera at the code to sign in once without the password:</source>
        <translation>Öffnen Sie %1 in einem Browser, oder richten Sie die Kamera eines Telefons auf den Code, um sich einmal ohne Passwort anzumelden:</translation>
    </message>
    <message>
        <source>QR code of the sign-in link</source>
        <translation>QR-Code des Anmeldelinks</translation>
    </message>
    <message>
        <source>The web remote is off.</source>
        <translation>Die Web-Fernbedienung ist aus.</translation>
    </message>
</context>
<context>
    <name>WebSettings</name>
    <message>
        <source>The address to listen on must be written host:port, such as 127.0.0.1:8780, 0.0.0.0:8780 or [::]:8780.</source>
        <translation>Die Adresse zum Lauschen wird als Host:Port geschrieben, etwa 127.0.0.1:8780, 0.0.0.0:8780 oder [::]:8780.</translation>
    </message>
    <message>
        <source>The port to listen on must be 0 to 65535.</source>
        <translation>Der Port zum Lauschen muss zwischen 0 und 65535 liegen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no IP address of this computer (a name is not taken: write 0.0.0.0 for the whole home network).</source>
        <translation>&quot;%1&quot; ist keine IP-Adresse dieses Computers (ein Name wird nicht angenommen: schreiben Sie 0.0.0.0 für das ganze Heimnetz).</translation>
    </message>
    <message>
        <source>A password is needed before the web remote listens on an address other computers reach.</source>
        <translation>Bevor die Web-Fernbedienung auf einer Adresse lauscht, die andere Computer erreichen, ist ein Passwort nötig.</translation>
    </message>
    <message>
        <source>HTTPS needs both a certificate and its key.</source>
        <translation>HTTPS braucht ein Zertifikat und seinen Schlüssel.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read.</source>
        <translation>&quot;%1&quot; kann nicht gelesen werden.</translation>
    </message>
</context>
</TS>
