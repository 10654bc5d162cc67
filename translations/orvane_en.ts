<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AddInBusService</name>
    <message>
        <source>no session bus</source>
        <translation>no session bus</translation>
    </message>
    <message>
        <source>the automation objects could not be registered</source>
        <translation>the automation objects could not be registered</translation>
    </message>
    <message>
        <source>another program owns %1 on the session bus; Orvane takes the name when that program lets it go</source>
        <translation>another program owns %1 on the session bus; Orvane takes the name when that program lets it go</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Options:: -Cx = Connect to Com x ; -M = Mini ; -TL = Mini Position TopLeft ; -TR = Mini Position TopRight ; -BL = Mini Position BottomLeft ; -P Power On by Connect</source>
        <translation>Options:: -Cx = Connect to Com x ; -M = Mini ; -TL = Mini Position TopLeft ; -TR = Mini Position TopRight ; -BL = Mini Position BottomLeft ; -P Power On by Connect</translation>
    </message>
</context>
<context>
    <name>ConnectionControl</name>
    <message>
        <source>Connect on Com %1</source>
        <translation>Connect on Com %1</translation>
    </message>
    <message>
        <source>no answer from the receiver to %1 requests for its settings; is it switched on and its cable plugged in?</source>
        <translation>no answer from the receiver to %1 requests for its settings; is it switched on and its cable plugged in?</translation>
    </message>
    <message>
        <source>the port was lost while waiting for the receiver</source>
        <translation>the port was lost while waiting for the receiver</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 failed: %2</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Complete Reset only with &apos;Diagnostic Menu&apos; !</source>
        <translation>Complete Reset only with &apos;Diagnostic Menu&apos; !</translation>
    </message>
    <message>
        <source>Reset all Orvane RS-232 settings ?</source>
        <translation>Reset all Orvane RS-232 settings ?</translation>
    </message>
    <message>
        <source>Orvane Reset</source>
        <translation>Orvane Reset</translation>
    </message>
    <message>
        <source>Unknown Orvane Model</source>
        <translation>Unknown Orvane Model</translation>
    </message>
    <message>
        <source>New Orvane Model:</source>
        <translation>New Orvane Model:</translation>
    </message>
    <message>
        <source>To make this Software better :</source>
        <translation>To make this Software better :</translation>
    </message>
    <message>
        <source>Send a email to the Software developer with Orvane connection string !</source>
        <translation>Send a email to the Software developer with Orvane connection string !</translation>
    </message>
    <message>
        <source>Complete the Email with the Orvane model description !</source>
        <translation>Complete the Email with the Orvane model description !</translation>
    </message>
    <message>
        <source>Send E-mail ?</source>
        <translation>Send E-mail ?</translation>
    </message>
</context>
<context>
    <name>DebugLogFile</name>
    <message>
        <source>Cannot open %1 (%2) nor %3: %4</source>
        <translation>Cannot open %1 (%2) nor %3: %4</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>Form_AddIns</name>
    <message>
        <source>AddIn</source>
        <translation>AddIn</translation>
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
        <translation>Code to send</translation>
    </message>
    <message>
        <source>&amp;Send</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Traffic</translation>
    </message>
    <message>
        <source>Log file: %1</source>
        <translation>Log file: %1</translation>
    </message>
    <message>
        <source>Logging stopped: %1</source>
        <translation>Logging stopped: %1</translation>
    </message>
</context>
<context>
    <name>Form_ControlCenter</name>
    <message>
        <source>Display line 1</source>
        <translation>Display line 1</translation>
    </message>
    <message>
        <source>Display line 2</source>
        <translation>Display line 2</translation>
    </message>
    <message>
        <source>Player title</source>
        <translation>Player title</translation>
    </message>
    <message>
        <source>Input -</source>
        <translation>Input -</translation>
    </message>
    <message>
        <source>Input +</source>
        <translation>Input +</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Input Mode</source>
        <translation>Input Mode</translation>
    </message>
    <message>
        <source>Volume +</source>
        <translation>Volume +</translation>
    </message>
    <message>
        <source>Volume -</source>
        <translation>Volume -</translation>
    </message>
    <message>
        <source>Winamp previous</source>
        <translation>Winamp previous</translation>
    </message>
    <message>
        <source>Winamp next</source>
        <translation>Winamp next</translation>
    </message>
    <message>
        <source>open/close</source>
        <translation>open/close</translation>
    </message>
    <message>
        <source>Standby/On</source>
        <translation>Standby/On</translation>
    </message>
    <message>
        <source>Orvane — receiver remote control</source>
        <translation>Orvane — receiver remote control</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>On</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Speakers A</source>
        <translation>Speakers A</translation>
    </message>
    <message>
        <source>Speakers B</source>
        <translation>Speakers B</translation>
    </message>
    <message>
        <source>Zone 2</source>
        <translation>Zone 2</translation>
    </message>
    <message>
        <source>Sound Field Processor</source>
        <translation>Sound Field Processor</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Connect</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Setup</translation>
    </message>
    <message>
        <source>Com %1</source>
        <translation>Com %1</translation>
    </message>
    <message>
        <source>&amp;Ports...</source>
        <translation>&amp;Ports...</translation>
    </message>
    <message>
        <source>&amp;Home automation...</source>
        <translation>&amp;Home automation...</translation>
    </message>
    <message>
        <source>Real Time</source>
        <translation>Real Time</translation>
    </message>
    <message>
        <source>Debug View</source>
        <translation>Debug View</translation>
    </message>
    <message>
        <source>Create Logfile</source>
        <translation>Create Logfile</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <translation>&amp;Reset</translation>
    </message>
    <message>
        <source>&amp;TimeControl</source>
        <translation>&amp;TimeControl</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>Activated</translation>
    </message>
    <message>
        <source>Config</source>
        <translation>Config</translation>
    </message>
    <message>
        <source>&amp;Mode</source>
        <translation>&amp;Mode</translation>
    </message>
    <message>
        <source>Zone2</source>
        <translation>Zone2</translation>
    </message>
    <message>
        <source>Main/Master</source>
        <translation>Main/Master</translation>
    </message>
    <message>
        <source>S&amp;leepTimer</source>
        <translation>S&amp;leepTimer</translation>
    </message>
    <message>
        <source>&amp;Volume</source>
        <translation>&amp;Volume</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Mute Zone2</source>
        <translation>Mute Zone2</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Load</translation>
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
        <translation>6.1/ES Key -Window max/minimize</translation>
    </message>
    <message>
        <source>6.1/ES Key - Winamp Next/Previous Track</source>
        <translation>6.1/ES Key - Winamp Next/Previous Track</translation>
    </message>
    <message>
        <source>6.1/ES Key - Shell Command</source>
        <translation>6.1/ES Key - Shell Command</translation>
    </message>
    <message>
        <source>Multimedia Keycontrol Winamp</source>
        <translation>Multimedia Keycontrol Winamp</translation>
    </message>
    <message>
        <source>Multimedia Keycontrol Orvane</source>
        <translation>Multimedia Keycontrol Orvane</translation>
    </message>
    <message>
        <source>Send Message to Display - Test</source>
        <translation>Send Message to Display - Test</translation>
    </message>
    <message>
        <source>Orvane information</source>
        <translation>Orvane information</translation>
    </message>
    <message>
        <source>&amp;AddIn</source>
        <translation>&amp;AddIn</translation>
    </message>
    <message>
        <source>POWER</source>
        <translation>POWER</translation>
    </message>
    <message>
        <source>VOLUME</source>
        <translation>VOLUME</translation>
    </message>
    <message>
        <source>ZONE 2</source>
        <translation>ZONE 2</translation>
    </message>
    <message>
        <source>MUTE</source>
        <translation>MUTE</translation>
    </message>
    <message>
        <source>&amp;End</source>
        <translation>&amp;End</translation>
    </message>
    <message>
        <source>Informationen</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>About Orvane...</source>
        <translation>About Orvane...</translation>
    </message>
    <message>
        <source>Rec Out</source>
        <translation>Rec Out</translation>
    </message>
    <message>
        <source>Connect first !</source>
        <translation>Connect first !</translation>
    </message>
    <message>
        <source>Shell Command with full Path: </source>
        <translation>Shell Command with full Path: </translation>
    </message>
    <message>
        <source>Shell Command</source>
        <translation>Shell Command</translation>
    </message>
    <message>
        <source>Text to send display:</source>
        <translation>Text to send display:</translation>
    </message>
    <message>
        <source>Max. 16 characters</source>
        <translation>Max. 16 characters</translation>
    </message>
    <message>
        <source>This function works only at newer Orvane models</source>
        <translation>This function works only at newer Orvane models</translation>
    </message>
    <message>
        <source>Text to display - Beta</source>
        <translation>Text to display - Beta</translation>
    </message>
    <message>
        <source>&amp;Web remote...</source>
        <translation>&amp;Web remote...</translation>
    </message>
</context>
<context>
    <name>Form_ErrBox</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Error Description</source>
        <translation>Error Description</translation>
    </message>
    <message>
        <source>&amp;Send Report</source>
        <translation>&amp;Send Report</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Error in </source>
        <translation>Error in </translation>
    </message>
    <message>
        <source> (Line </source>
        <translation> (Line </translation>
    </message>
    <message>
        <source>Version: %1.%2.%3</source>
        <translation>Version: %1.%2.%3</translation>
    </message>
    <message>
        <source>Beschreibung:</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>No mail program could be opened for the error report.
The report has been copied to the clipboard; please send it to %1.</source>
        <translation>No mail program could be opened for the error report.
The report has been copied to the clipboard; please send it to %1.</translation>
    </message>
</context>
<context>
    <name>Form_Informationen</name>
    <message>
        <source>-Cx = Connect amplifier at Com X</source>
        <translation>-Cx = Connect amplifier at Com X</translation>
    </message>
    <message>
        <source>-M  = Starts in mini mode</source>
        <translation>-M  = Starts in mini mode</translation>
    </message>
    <message>
        <source>-TL = mini window position &quot;Top Left&quot;</source>
        <translation>-TL = mini window position &quot;Top Left&quot;</translation>
    </message>
    <message>
        <source>-TR = mini window position &quot;Top Right&quot;</source>
        <translation>-TR = mini window position &quot;Top Right&quot;</translation>
    </message>
    <message>
        <source>-BL = mini window position &quot;Bottom Left&quot;</source>
        <translation>-BL = mini window position &quot;Bottom Left&quot;</translation>
    </message>
    <message>
        <source>-BR = mini window position &quot;Bottom Right&quot; Default</source>
        <translation>-BR = mini window position &quot;Bottom Right&quot; Default</translation>
    </message>
    <message>
        <source>-P  = Power On</source>
        <translation>-P  = Power On</translation>
    </message>
    <message>
        <source>-?  = Help</source>
        <translation>-?  = Help</translation>
    </message>
    <message>
        <source>F4  - Volume A</source>
        <translation>F4  - Volume A</translation>
    </message>
    <message>
        <source>F5  - Volume B</source>
        <translation>F5  - Volume B</translation>
    </message>
    <message>
        <source>F6  - Volume C</source>
        <translation>F6  - Volume C</translation>
    </message>
    <message>
        <source>F7  - Volume D</source>
        <translation>F7  - Volume D</translation>
    </message>
    <message>
        <source>F8  - Volume E</source>
        <translation>F8  - Volume E</translation>
    </message>
    <message>
        <source>F9  - Volume F</source>
        <translation>F9  - Volume F</translation>
    </message>
    <message>
        <source>F12 - Mute</source>
        <translation>F12 - Mute</translation>
    </message>
    <message>
        <source>Important:</source>
        <translation>Important:</translation>
    </message>
    <message>
        <source>To prevent possible amplifier damage, unplug the</source>
        <translation>To prevent possible amplifier damage, unplug the</translation>
    </message>
    <message>
        <source>mains supply before connecting the RS 232 cable!</source>
        <translation>mains supply before connecting the RS 232 cable!</translation>
    </message>
    <message>
        <source>Information for Orvane</source>
        <translation>Information for Orvane</translation>
    </message>
    <message>
        <source>Starting and operating Orvane</source>
        <translation>Starting and operating Orvane</translation>
    </message>
    <message>
        <source> - remote control for AV receivers</source>
        <translation> - remote control for AV receivers</translation>
    </message>
    <message>
        <source>Command options</source>
        <translation>Command options</translation>
    </message>
    <message>
        <source>Command options: </source>
        <translation>Command options: </translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>Keys: </source>
        <translation>Keys: </translation>
    </message>
    <message>
        <source>Connecting the receiver</source>
        <translation>Connecting the receiver</translation>
    </message>
    <message>
        <source>Serial cable</source>
        <translation>Serial cable</translation>
    </message>
    <message>
        <source>Important</source>
        <translation>Important</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Ok</translation>
    </message>
</context>
<context>
    <name>Form_Intro</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>Remote control for AV receivers</source>
        <translation>Remote control for AV receivers</translation>
    </message>
    <message>
        <source>Free software: GNU GPL 3 or later; control libraries GNU LGPL 2.1 or later</source>
        <translation>Free software: GNU GPL 3 or later; control libraries GNU LGPL 2.1 or later</translation>
    </message>
</context>
<context>
    <name>Form_Mini</name>
    <message>
        <source>Volume -</source>
        <translation>Volume -</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Volume +</source>
        <translation>Volume +</translation>
    </message>
    <message>
        <source>minimize</source>
        <translation>minimize</translation>
    </message>
    <message>
        <source>close</source>
        <translation>close</translation>
    </message>
</context>
<context>
    <name>Form_YInfo</name>
    <message>
        <source>Orvane Information</source>
        <translation>Orvane Information</translation>
    </message>
    <message>
        <source>Receiver</source>
        <translation>Receiver</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>Model ID:</source>
        <translation>Model ID:</translation>
    </message>
    <message>
        <source>Softwareversion :</source>
        <translation>Softwareversion :</translation>
    </message>
    <message>
        <source>Orvane return string:</source>
        <translation>Orvane return string:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Ok</translation>
    </message>
</context>
<context>
    <name>Form_ZS</name>
    <message>
        <source>Time Control</source>
        <translation>Time Control</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Hour</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>On the date</source>
        <translation>On the date</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>Every Day</source>
        <translation>Every Day</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Aktion</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Schedule</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>Script &amp;load</source>
        <translation>Script &amp;load</translation>
    </message>
    <message>
        <source>Script &amp;save</source>
        <translation>Script &amp;save</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Ok</translation>
    </message>
    <message>
        <source>Select action first !</source>
        <translation>Select action first !</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Overwrite existing file ?</source>
        <translation>Overwrite existing file ?</translation>
    </message>
    <message>
        <source> saved...</source>
        <translation> saved...</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source> is larger than 1 MB and is not a time control script; nothing was loaded.</source>
        <translation> is larger than 1 MB and is not a time control script; nothing was loaded.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot;</source>
        <translation>%1: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Schedule lines without time, day and action, or with a command code that cannot be sent, left out: %1</source>
        <translation>Schedule lines without time, day and action, or with a command code that cannot be sent, left out: %1</translation>
    </message>
</context>
<context>
    <name>KeyControl</name>
    <message>
        <source>Global keys are unavailable on this desktop: only the keys of the focused Orvane window work.</source>
        <translation>Global keys are unavailable on this desktop: only the keys of the focused Orvane window work.</translation>
    </message>
</context>
<context>
    <name>Modul_Lib</name>
    <message>
        <source>Error while creating GUID!</source>
        <translation>Error while creating GUID!</translation>
    </message>
</context>
<context>
    <name>Modul_Orvane</name>
    <message>
        <source>Automation: %1</source>
        <translation>Automation: %1</translation>
    </message>
    <message>
        <source>Automation: Orvane now owns %1 on the session bus</source>
        <translation>Automation: Orvane now owns %1 on the session bus</translation>
    </message>
</context>
<context>
    <name>MqttDialog</name>
    <message>
        <source>Home automation</source>
        <translation>Home automation</translation>
    </message>
    <message>
        <source>Orvane can publish the receiver to an MQTT broker, where a home-automation hub finds it by discovery. Leave the broker empty to switch this off.</source>
        <translation>Orvane can publish the receiver to an MQTT broker, where a home-automation hub finds it by discovery. Leave the broker empty to switch this off.</translation>
    </message>
    <message>
        <source>Broker:</source>
        <translation>Broker:</translation>
    </message>
    <message>
        <source>mqtt://host:1883 or mqtts://host:8883</source>
        <translation>mqtt://host:1883 or mqtts://host:8883</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>the system&apos;s certificate authorities</source>
        <translation>the system&apos;s certificate authorities</translation>
    </message>
    <message>
        <source>CA file:</source>
        <translation>CA file:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>CA certificate</source>
        <translation>CA certificate</translation>
    </message>
    <message>
        <source>Certificates (*.pem *.crt);;All files (*)</source>
        <translation>Certificates (*.pem *.crt);;All files (*)</translation>
    </message>
    <message>
        <source>Topic:</source>
        <translation>Topic:</translation>
    </message>
    <message>
        <source>Discovery prefix:</source>
        <translation>Discovery prefix:</translation>
    </message>
    <message>
        <source>Maximum volume (dB):</source>
        <translation>Maximum volume (dB):</translation>
    </message>
    <message>
        <source>%1 (the receiver&apos;s top)</source>
        <translation>%1 (the receiver&apos;s top)</translation>
    </message>
    <message>
        <source>The hub may not set the volume above this.</source>
        <translation>The hub may not set the volume above this.</translation>
    </message>
    <message>
        <source>&amp;Try connection</source>
        <translation>&amp;Try connection</translation>
    </message>
    <message>
        <source>Enter a broker first.</source>
        <translation>Enter a broker first.</translation>
    </message>
    <message>
        <source>Connected: the broker accepted Orvane.</source>
        <translation>Connected: the broker accepted Orvane.</translation>
    </message>
    <message>
        <source>Could not connect: %1</source>
        <translation>Could not connect: %1</translation>
    </message>
    <message>
        <source>Could not connect: no answer from the broker within %1 s.</source>
        <translation>Could not connect: no answer from the broker within %1 s.</translation>
    </message>
    <message>
        <source>Trying %1 ...</source>
        <translation>Trying %1 ...</translation>
    </message>
</context>
<context>
    <name>PasswordSettingsDialog</name>
    <message>
        <source>(unchanged)</source>
        <translation>(unchanged)</translation>
    </message>
    <message>
        <source>The password is kept in the desktop&apos;s secret store; when the store does not answer, in the settings file, which is then readable by you only (mode 0600).</source>
        <translation>The password is kept in the desktop&apos;s secret store; when the store does not answer, in the settings file, which is then readable by you only (mode 0600).</translation>
    </message>
    <message>
        <source>The password is kept in the settings file, which is then readable by you only (mode 0600).</source>
        <translation>The password is kept in the settings file, which is then readable by you only (mode 0600).</translation>
    </message>
    <message>
        <source>Storing the password...</source>
        <translation>Storing the password...</translation>
    </message>
</context>
<context>
    <name>PortalKeyState</name>
    <message>
        <source>The desktop portal for global shortcuts went away: the global keys are off until it is back.</source>
        <translation>The desktop portal for global shortcuts went away: the global keys are off until it is back.</translation>
    </message>
    <message>
        <source>The desktop portal for global shortcuts did not answer the request for a session within %1 seconds: the global keys are off until the portal is restarted.</source>
        <translation>The desktop portal for global shortcuts did not answer the request for a session within %1 seconds: the global keys are off until the portal is restarted.</translation>
    </message>
    <message>
        <source>The desktop portal for global shortcuts answered %1 with an error (%2): the global keys are off.</source>
        <translation>The desktop portal for global shortcuts answered %1 with an error (%2): the global keys are off.</translation>
    </message>
    <message>
        <source>The global shortcuts were cancelled in the desktop&apos;s dialog: the global keys are off.</source>
        <translation>The global shortcuts were cancelled in the desktop&apos;s dialog: the global keys are off.</translation>
    </message>
    <message>
        <source>The desktop portal for global shortcuts refused %1 (response %2): the global keys are off.</source>
        <translation>The desktop portal for global shortcuts refused %1 (response %2): the global keys are off.</translation>
    </message>
    <message>
        <source>The desktop portal for global shortcuts answers again: the global keys are bound.</source>
        <translation>The desktop portal for global shortcuts answers again: the global keys are bound.</translation>
    </message>
</context>
<context>
    <name>PortsDialog</name>
    <message>
        <source>Ports</source>
        <translation>Ports</translation>
    </message>
    <message>
        <source>Choose the serial device of each port, or enter the address of a serial-to-network bridge as tcp://host:port. Leave a port empty for its default device. Changes take effect at the next connect.</source>
        <translation>Choose the serial device of each port, or enter the address of a serial-to-network bridge as tcp://host:port. Leave a port empty for its default device. Changes take effect at the next connect.</translation>
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
        <translation>&amp;Refresh</translation>
    </message>
    <message>
        <source>No serial devices found.</source>
        <translation>No serial devices found.</translation>
    </message>
    <message>
        <source>Com %1: </source>
        <translation>Com %1: </translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid network address. Write tcp://host:port with a port from 1 to 65535.</source>
        <translation>&quot;%1&quot; is not a valid network address. Write tcp://host:port with a port from 1 to 65535.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither a device path (such as /dev/ttyUSB0) nor a network address (tcp://host:port).</source>
        <translation>&quot;%1&quot; is neither a device path (such as /dev/ttyUSB0) nor a network address (tcp://host:port).</translation>
    </message>
    <message>
        <source>Com %1: %2</source>
        <translation>Com %1: %2</translation>
    </message>
    <message>
        <source>The ports could not be saved: %1</source>
        <translation>The ports could not be saved: %1</translation>
    </message>
</context>
<context>
    <name>QSettingsStore</name>
    <message>
        <source>The settings file &quot;%1&quot; could not be written (no write permission, or its folder cannot be created).</source>
        <translation>The settings file &quot;%1&quot; could not be written (no write permission, or its folder cannot be created).</translation>
    </message>
    <message>
        <source>The settings file &quot;%1&quot; is malformed and was not changed.</source>
        <translation>The settings file &quot;%1&quot; is malformed and was not changed.</translation>
    </message>
    <message>
        <source>The settings file &quot;%1&quot; could not be written.</source>
        <translation>The settings file &quot;%1&quot; could not be written.</translation>
    </message>
</context>
<context>
    <name>QtSerialPort</name>
    <message>
        <source>Port already open</source>
        <translation>Port already open</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>Operation valid only when the port is open</source>
        <translation>Operation valid only when the port is open</translation>
    </message>
    <message>
        <source>Cannot write to %1: %2</source>
        <translation>Cannot write to %1: %2</translation>
    </message>
</context>
<context>
    <name>ReceiverLink</name>
    <message>
        <source>Connect Error !</source>
        <translation>Connect Error !</translation>
    </message>
    <message>
        <source>Time Out</source>
        <translation>Time Out</translation>
    </message>
</context>
<context>
    <name>ReportEvaluation</name>
    <message>
        <source>WinAmp muss zuerst gestartet werden,</source>
        <translation>WinAmp must be started first,</translation>
    </message>
    <message>
        <source>um ihn auch fernsteuern zu können.</source>
        <translation>so that it can be remote-controlled.</translation>
    </message>
    <message>
        <source>Falls Sie Winamp3 benutzen dieser wird nicht unterstützt...</source>
        <translation>If you use Winamp3: it is not supported...</translation>
    </message>
</context>
<context>
    <name>RunningInstance</name>
    <message>
        <source>Orvane is already running on this desktop: its window was brought to the front.</source>
        <translation>Orvane is already running on this desktop: its window was brought to the front.</translation>
    </message>
</context>
<context>
    <name>SwitchingSerialPort</name>
    <message>
        <source>Cannot open %1: a connection is being made</source>
        <translation>Cannot open %1: a connection is being made</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied. </source>
        <translation>Cannot open %1: permission denied. </translation>
    </message>
    <message>
        <source>Your user may not use this device. Add it to the group &quot;%1&quot; (for example: sudo adduser $USER %1), then log out and in again.</source>
        <translation>Your user may not use this device. Add it to the group &quot;%1&quot; (for example: sudo adduser $USER %1), then log out and in again.</translation>
    </message>
    <message>
        <source>Only its owner, %1, may read and write this device.</source>
        <translation>Only its owner, %1, may read and write this device.</translation>
    </message>
    <message>
        <source>No user but root may read and write this device.</source>
        <translation>No user but root may read and write this device.</translation>
    </message>
    <message>
        <source> To grant access, give it to the group &quot;dialout&quot; with a udev rule (for example the line SUBSYSTEM==&quot;tty&quot;, KERNEL==&quot;%1&quot;, GROUP=&quot;dialout&quot;, MODE=&quot;0660&quot; in /etc/udev/rules.d/60-orvane.rules), join that group (sudo adduser $USER dialout) and log out and in again; or choose another device for this port under Setup &gt; Ports...</source>
        <translation> To grant access, give it to the group &quot;dialout&quot; with a udev rule (for example the line SUBSYSTEM==&quot;tty&quot;, KERNEL==&quot;%1&quot;, GROUP=&quot;dialout&quot;, MODE=&quot;0660&quot; in /etc/udev/rules.d/60-orvane.rules), join that group (sudo adduser $USER dialout) and log out and in again; or choose another device for this port under Setup &gt; Ports...</translation>
    </message>
</context>
<context>
    <name>TcpSerialPort</name>
    <message>
        <source>Cannot open %1: a connection is being made</source>
        <translation>Cannot open %1: a connection is being made</translation>
    </message>
    <message>
        <source>Cannot open %1: not a network address (write tcp://host:port, port 1 to 65535)</source>
        <translation>Cannot open %1: not a network address (write tcp://host:port, port 1 to 65535)</translation>
    </message>
    <message>
        <source>Cannot connect to %1: %2</source>
        <translation>Cannot connect to %1: %2</translation>
    </message>
    <message>
        <source>The port is not open</source>
        <translation>The port is not open</translation>
    </message>
    <message>
        <source>Cannot write to %1: %2</source>
        <translation>Cannot write to %1: %2</translation>
    </message>
</context>
<context>
    <name>WebRemoteDialog</name>
    <message>
        <source>Web remote</source>
        <translation>Web remote</translation>
    </message>
    <message>
        <source>Orvane can serve a remote to the browsers of phones, tablets and computers at home. Leave the address empty to switch it off; 127.0.0.1:8780 serves this computer only, 0.0.0.0:8780 the home network (a password is needed then).</source>
        <translation>Orvane can serve a remote to the browsers of phones, tablets and computers at home. Leave the address empty to switch it off; 127.0.0.1:8780 serves this computer only, 0.0.0.0:8780 the home network (a password is needed then).</translation>
    </message>
    <message>
        <source>Listen on:</source>
        <translation>Listen on:</translation>
    </message>
    <message>
        <source>off</source>
        <translation>off</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>none: plain HTTP</source>
        <translation>none: plain HTTP</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>PEM files (*.pem *.crt *.key);;All files (*)</source>
        <translation>PEM files (*.pem *.crt *.key);;All files (*)</translation>
    </message>
    <message>
        <source>Certificate:</source>
        <translation>Certificate:</translation>
    </message>
    <message>
        <source>Certificate (PEM)</source>
        <translation>Certificate (PEM)</translation>
    </message>
    <message>
        <source>Key:</source>
        <translation>Key:</translation>
    </message>
    <message>
        <source>Private key (PEM)</source>
        <translation>Private key (PEM)</translation>
    </message>
    <message>
        <source>Open %1 in a browser, or point a phone&apos;s camera at the code to sign in once without the password:</source>
        <translation>Open %1 in a browser, or point a phone&apos;s camera at the code to sign in once without the password:</translation>
    </message>
    <message>
        <source>QR code of the sign-in link</source>
        <translation>QR code of the sign-in link</translation>
    </message>
    <message>
        <source>The web remote is off.</source>
        <translation>The web remote is off.</translation>
    </message>
</context>
<context>
    <name>WebSettings</name>
    <message>
        <source>The address to listen on must be written host:port, such as 127.0.0.1:8780, 0.0.0.0:8780 or [::]:8780.</source>
        <translation>The address to listen on must be written host:port, such as 127.0.0.1:8780, 0.0.0.0:8780 or [::]:8780.</translation>
    </message>
    <message>
        <source>The port to listen on must be 0 to 65535.</source>
        <translation>The port to listen on must be 0 to 65535.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no IP address of this computer (a name is not taken: write 0.0.0.0 for the whole home network).</source>
        <translation>&quot;%1&quot; is no IP address of this computer (a name is not taken: write 0.0.0.0 for the whole home network).</translation>
    </message>
    <message>
        <source>A password is needed before the web remote listens on an address other computers reach.</source>
        <translation>A password is needed before the web remote listens on an address other computers reach.</translation>
    </message>
    <message>
        <source>HTTPS needs both a certificate and its key.</source>
        <translation>HTTPS needs both a certificate and its key.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read.</source>
        <translation>&quot;%1&quot; cannot be read.</translation>
    </message>
</context>
</TS>
