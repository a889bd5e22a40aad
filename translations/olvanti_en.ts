<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../src/ui/aboutdialog.cpp" line="39"/>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/aboutdialog.cpp" line="55"/>
        <location filename="../src/ui/aboutdialog.cpp" line="102"/>
        <location filename="../src/ui/aboutdialog.cpp" line="145"/>
        <source>Third-party notices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/aboutdialog.cpp" line="77"/>
        <source>About OlvantiVIVuderidazi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/aboutdialog.cpp" line="93"/>
        <source>PDF reader and presentation system with a playlist, a presenter view and a countdown timer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/aboutdialog.cpp" line="146"/>
        <source>The file THIRD-PARTY-NOTICES.txt was not found next to the application.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Action</name>
    <message>
        <location filename="../src/input/action.cpp" line="20"/>
        <source>Next slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="22"/>
        <source>Previous slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="24"/>
        <source>First slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="25"/>
        <source>Last slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="26"/>
        <source>Go to next reader page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="28"/>
        <source>Go to previous reader page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="30"/>
        <source>Blackout / resume output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="31"/>
        <source>Start / pause timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="32"/>
        <source>Exit presentation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="33"/>
        <source>Timer +1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="35"/>
        <source>Timer -1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="37"/>
        <source>Timer +10 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="39"/>
        <source>Timer -10 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/action.cpp" line="41"/>
        <source>Reset timer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ArrowButton</name>
    <message>
        <location filename="../src/timer/arrowbutton.cpp" line="18"/>
        <source>Add 1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/timer/arrowbutton.cpp" line="18"/>
        <source>Subtract 1 minute</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../src/app/commandline.cpp" line="16"/>
        <source>Olvanti PDF reader and presentation system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/commandline.cpp" line="19"/>
        <source>PDF document to open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/commandline.cpp" line="23"/>
        <source>Open PDF, render the first live frame and exit (diagnostic check).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Countdown</name>
    <message>
        <location filename="../src/timer/countdown.cpp" line="94"/>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/timer/countdown.cpp" line="94"/>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DisplayChoice</name>
    <message>
        <location filename="../src/presentation/displaychoice.cpp" line="20"/>
        <source>%1 (%2 x %3, %4x)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InputDialog</name>
    <message>
        <location filename="../src/input/inputdialog.cpp" line="33"/>
        <source>Clicker and keyboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/inputdialog.cpp" line="38"/>
        <source>USB / Bluetooth keyboard clickers require no driver. Input works in both application windows.
Global input outside this application is not enabled. Separate alternatives with semicolons.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/inputdialog.cpp" line="52"/>
        <source>Ignore clicker shortcuts while typing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/inputdialog.cpp" line="59"/>
        <source>Minimum interval for repeated identical key presses (auto-repeat is always blocked):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/inputdialog.cpp" line="64"/>
        <source> ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/inputdialog.cpp" line="72"/>
        <source>Test mode: capture input here without performing actions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/inputdialog.cpp" line="76"/>
        <source>Last input: none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/inputdialog.cpp" line="90"/>
        <source>Captured: %1 -&gt; %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/inputdialog.cpp" line="183"/>
        <location filename="../src/input/inputdialog.cpp" line="205"/>
        <source>Key mapping</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InputRouter</name>
    <message>
        <location filename="../src/input/bindings.cpp" line="27"/>
        <source>Invalid key: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/bindings.cpp" line="42"/>
        <source>Bindings must be unique, single key combinations: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/input/inputrouter.cpp" line="249"/>
        <source>Unassigned</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="188"/>
        <source>EXIT FULLSCREEN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="188"/>
        <location filename="../src/ui/mainwindow_layout.cpp" line="214"/>
        <source>FULLSCREEN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="189"/>
        <source>Output ON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="189"/>
        <location filename="../src/ui/mainwindow_layout.cpp" line="202"/>
        <source>Output OFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="201"/>
        <source>BLACKOUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="201"/>
        <source>external display is blank</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="210"/>
        <location filename="../src/ui/mainwindow.cpp" line="216"/>
        <location filename="../src/ui/mainwindow_menus.cpp" line="184"/>
        <source>Resume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="210"/>
        <location filename="../src/ui/mainwindow.cpp" line="216"/>
        <location filename="../src/ui/mainwindow_layout.cpp" line="209"/>
        <location filename="../src/ui/mainwindow_layout.cpp" line="330"/>
        <location filename="../src/ui/mainwindow_menus.cpp" line="135"/>
        <location filename="../src/ui/mainwindow_menus.cpp" line="184"/>
        <source>Blackout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="230"/>
        <source>LIVE  -  BLACKOUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="230"/>
        <location filename="../src/ui/mainwindow_layout.cpp" line="258"/>
        <source>LIVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="243"/>
        <source>FILE %1 / %2  -  %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="267"/>
        <location filename="../src/ui/mainwindow.cpp" line="268"/>
        <source>END</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="268"/>
        <source>FILE %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="271"/>
        <location filename="../src/ui/mainwindow_layout.cpp" line="271"/>
        <source>NEXT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="286"/>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow.cpp" line="286"/>
        <source>Preferences could not be saved. Check filesystem permissions.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="49"/>
        <source>Open %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="59"/>
        <source>Missing document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="60"/>
        <source>The document no longer exists. Use Open to select another file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="71"/>
        <source>Loading PDF...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="88"/>
        <source>%1 - OlvantiVIVuderidazi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="89"/>
        <source>Document loaded. Clicker input works while either application window is active.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="101"/>
        <source>Encrypted PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="109"/>
        <source>Cannot open PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="130"/>
        <source>Close %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="152"/>
        <source>Open PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_documents.cpp" line="153"/>
        <source>PDF documents (*.pdf);;Olvanti playlist (*.oplaylist *.opack);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="63"/>
        <source>v0.7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="81"/>
        <source>PAGES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="126"/>
        <source>Searching...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="174"/>
        <source>Document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="176"/>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="187"/>
        <location filename="../src/ui/mainwindow_menus.cpp" line="67"/>
        <source>PDF Reader</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="189"/>
        <source>PRESENTER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="203"/>
        <source>Start / stop the presentation on the external screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="210"/>
        <source>Blank / restore the full-screen output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="215"/>
        <source>Show the current slide full screen on the output display; navigate with the keys or a clicker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="326"/>
        <location filename="../src/ui/mainwindow_menus.cpp" line="131"/>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="327"/>
        <source>Previous slide (or the last slide of the previous file)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="328"/>
        <location filename="../src/ui/mainwindow_menus.cpp" line="132"/>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="329"/>
        <source>Next slide (or the next file of the playlist)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="331"/>
        <source>Toggle blackout on the output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="354"/>
        <location filename="../src/ui/mainwindow_layout.cpp" line="423"/>
        <source>Hide PAGES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="357"/>
        <source>PAGES  |  LIVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_layout.cpp" line="423"/>
        <source>Show PAGES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="46"/>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="47"/>
        <source>&amp;Open PDF...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="48"/>
        <source>Recent documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="51"/>
        <source>Close document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="53"/>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="55"/>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="56"/>
        <source>Search...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="58"/>
        <source>Back (undo last change)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="65"/>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="68"/>
        <source>Presenter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="76"/>
        <source>Show / hide playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="79"/>
        <source>Show / hide PAGES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="82"/>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="83"/>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="84"/>
        <source>Fit page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="85"/>
        <source>Fit width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="86"/>
        <source>Rotate page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="88"/>
        <source>Two pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="90"/>
        <source>Scroll mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="103"/>
        <source>&amp;Playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="105"/>
        <source>Add PDFs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="106"/>
        <source>Open playlist...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="107"/>
        <source>Save playlist...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="108"/>
        <source>Export with PDFs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="109"/>
        <source>Import package...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="111"/>
        <source>Move up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="112"/>
        <source>Move down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="113"/>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="114"/>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="123"/>
        <source>P&amp;resentation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="124"/>
        <source>Output on external screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="126"/>
        <source>Full screen output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="133"/>
        <source>First slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="134"/>
        <source>Last slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="140"/>
        <source>Exit presentation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="145"/>
        <source>Timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="147"/>
        <location filename="../src/ui/mainwindow_menus.cpp" line="185"/>
        <source>Start timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="148"/>
        <source>Reset timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="150"/>
        <source>+1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="151"/>
        <source>-1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="152"/>
        <source>+10 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="153"/>
        <source>-10 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="156"/>
        <source>&amp;Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="157"/>
        <source>Setup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="160"/>
        <source>Clicker and keyboard...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="162"/>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="163"/>
        <source>About OlvantiVIVuderidazi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="164"/>
        <source>Check for new version...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="185"/>
        <source>Pause timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="213"/>
        <source>+1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="215"/>
        <source>℡ min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="216"/>
        <source>ሐ s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/mainwindow_menus.cpp" line="217"/>
        <source>+10 s</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageLog</name>
    <message>
        <location filename="../src/app/messagelog.cpp" line="87"/>
        <source>Cannot create diagnostic log directory</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OutputControl</name>
    <message>
        <location filename="../src/presentation/outputcontrol.cpp" line="88"/>
        <source>Open a PDF before starting output.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/outputcontrol.cpp" line="100"/>
        <source>Output display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/outputcontrol.cpp" line="100"/>
        <source>No output display is available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/outputcontrol.cpp" line="127"/>
        <source>Stop presentation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/outputcontrol.cpp" line="128"/>
        <source>Do you really want to stop the presentation on the full-screen display?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/outputcontrol.cpp" line="179"/>
        <source>Presentation output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/outputcontrol.cpp" line="189"/>
        <source>Output display disconnected. Output closed safely; select a display and reopen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/outputcontrol.cpp" line="219"/>
        <source>End of presentation. Press Previous to go back.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OutputWindow</name>
    <message>
        <location filename="../src/presentation/outputwindow.cpp" line="8"/>
        <source>Olvanti - Presentation Output</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageCanvas</name>
    <message>
        <location filename="../src/presentation/pagecanvas.cpp" line="37"/>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/pagecanvas.cpp" line="37"/>
        <source>Fade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/pagecanvas.cpp" line="37"/>
        <source>Dip to black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/pagecanvas.cpp" line="37"/>
        <source>Slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/pagecanvas.cpp" line="37"/>
        <source>Wipe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/presentation/pagecanvas.cpp" line="37"/>
        <source>Zoom</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PdfService</name>
    <message>
        <location filename="../src/pdf/pdfservice.cpp" line="17"/>
        <source>The file was not found or cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfservice.cpp" line="19"/>
        <source>PDF requires a valid password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfservice.cpp" line="21"/>
        <source>Unsupported PDF encryption.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfservice.cpp" line="23"/>
        <source>The PDF is damaged, unsupported, or contains no pages.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfrender.cpp" line="45"/>
        <source>Invalid page requested.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfrender.cpp" line="54"/>
        <source>Invalid render dimensions.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfrender.cpp" line="134"/>
        <source>Could not render page %1. Previous output retained.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistControl</name>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="91"/>
        <source>Add %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="92"/>
        <source>Add %1 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="106"/>
        <location filename="../src/ui/playlistcontrol_switch.cpp" line="48"/>
        <source>Open %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="119"/>
        <source>Remove file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="119"/>
        <source>Remove &quot;%1&quot; from the playlist?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="121"/>
        <source>Remove %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="134"/>
        <source>Move %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="146"/>
        <location filename="../src/ui/playlistcontrol.cpp" line="148"/>
        <source>Clear playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="146"/>
        <source>Remove all %1 file(s) from the playlist?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="167"/>
        <source>Reorder playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="179"/>
        <source>Time of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="190"/>
        <source>Load playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol.cpp" line="190"/>
        <source>Append playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="26"/>
        <source>Olvanti playlist (*.oplaylist)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="31"/>
        <source>Olvanti playlist package (*.opack)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="57"/>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="124"/>
        <source>Playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="62"/>
        <source>Add PDFs to playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="63"/>
        <source>PDF documents (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="71"/>
        <source>Open playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="79"/>
        <source>Import playlist package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="87"/>
        <source>Save playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="90"/>
        <source>The playlist is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="96"/>
        <source>Playlist saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="101"/>
        <source>Export playlist with PDFs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="111"/>
        <source>Playlist exported: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="114"/>
        <source>%1 missing file(s) were not exported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="124"/>
        <source>The playlist already contains files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="126"/>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="127"/>
        <source>Append</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="142"/>
        <source>The playlist file contains no files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_files.cpp" line="150"/>
        <source>Playlist loaded: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_switch.cpp" line="66"/>
        <location filename="../src/ui/playlistcontrol_switch.cpp" line="155"/>
        <source>Missing document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_switch.cpp" line="67"/>
        <source>The playlist file is missing:
%1
The presentation stays on the current file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_switch.cpp" line="141"/>
        <source>Undone: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/playlistcontrol_switch.cpp" line="156"/>
        <source>The document no longer exists. Use Open to select another file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistDelegate</name>
    <message>
        <location filename="../src/playlist/playlistdelegate.cpp" line="17"/>
        <source>add timer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistFile</name>
    <message>
        <location filename="../src/playlist/packagereader.cpp" line="47"/>
        <source>A PDF could not be unpacked: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/packagereader.cpp" line="56"/>
        <source>This is not an Olvanti playlist package.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/packagereader.cpp" line="57"/>
        <source>The package is damaged or incomplete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/packagereader.cpp" line="61"/>
        <source>The package could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/packagereader.cpp" line="98"/>
        <source>The folder for the unpacked PDFs could not be created: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/packagereader.cpp" line="105"/>
        <source>%1 is a link to another place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/packagewriter.cpp" line="26"/>
        <source>The package could not be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/packagewriter.cpp" line="31"/>
        <source>A PDF could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/packagewriter.cpp" line="74"/>
        <source>There is no existing PDF in the playlist to export.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/packagewriter.cpp" line="80"/>
        <source>The playlist has too many files for one package.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistfile.cpp" line="66"/>
        <location filename="../src/playlist/playlistfile.cpp" line="71"/>
        <source>The playlist file could not be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistfile.cpp" line="81"/>
        <source>The playlist file could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistfile.cpp" line="91"/>
        <source>This is not an Olvanti playlist file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistPanel</name>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="90"/>
        <location filename="../src/playlist/playlistpanel.cpp" line="97"/>
        <source>PLAYLIST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="106"/>
        <source>Open playlist...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="108"/>
        <source>Save playlist...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="110"/>
        <source>Export with PDFs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="112"/>
        <source>Import package...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="115"/>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="118"/>
        <source>+ Add PDFs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="120"/>
        <source>Move up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="123"/>
        <source>Move down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="124"/>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="125"/>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel_collapse.cpp" line="18"/>
        <source>Show PLAYLIST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel_collapse.cpp" line="18"/>
        <source>Hide PLAYLIST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="202"/>
        <source>  (missing)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel.cpp" line="208"/>
        <source>%1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel_dialog.cpp" line="18"/>
        <source>Select a file in the playlist first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel_dialog.cpp" line="26"/>
        <source>Countdown for file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel_dialog.cpp" line="32"/>
        <source>Start a countdown when this file begins</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel_dialog.cpp" line="40"/>
        <source> min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/playlistpanel_dialog.cpp" line="61"/>
        <source>Without a countdown the running timer is not changed when this file begins.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReaderControl</name>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="82"/>
        <source>Previous page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="85"/>
        <source>Next page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="93"/>
        <source>Page </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="102"/>
        <location filename="../src/reader/readercontrol.cpp" line="401"/>
        <location filename="../src/reader/readercontrol.cpp" line="420"/>
        <source>/ %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="107"/>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="109"/>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="116"/>
        <source>Fit page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="116"/>
        <source>Fit width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="116"/>
        <source>Custom zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="124"/>
        <source>Rotate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="125"/>
        <source>Rotate the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="129"/>
        <source>Two pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="138"/>
        <source>Scroll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/readercontrol.cpp" line="140"/>
        <source>Scroll through all pages instead of switching them one by one</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <location filename="../src/reader/searchdialog.cpp" line="16"/>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/searchdialog.cpp" line="20"/>
        <source>Search text...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/searchdialog.cpp" line="48"/>
        <source>Page %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/searchdialog.cpp" line="51"/>
        <source>%1 search results%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/reader/searchdialog.cpp" line="53"/>
        <source> (limit reached; refine search)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="37"/>
        <source>Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="40"/>
        <source>External screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="42"/>
        <source>Page transition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="44"/>
        <source>Timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="45"/>
        <source>Start timer when output opens</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="78"/>
        <source>Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="84"/>
        <source>Output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="88"/>
        <source>Fit page (preserve all content)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="88"/>
        <source>Fit width (may crop vertically)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="90"/>
        <source>Scaling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="101"/>
        <source>Effect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="107"/>
        <source> ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="109"/>
        <source>Duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="116"/>
        <source>Preferred output display unavailable; choose a replacement before opening output.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="132"/>
        <source>Output ON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/setupdialog.cpp" line="132"/>
        <source>Output OFF</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <location filename="../src/app/startup.cpp" line="49"/>
        <source>Diagnostic PDF rendering timed out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbnailDelegate</name>
    <message>
        <location filename="../src/reader/thumbnaildelegate.cpp" line="63"/>
        <source>LIVE</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbnailModel</name>
    <message>
        <location filename="../src/reader/thumbnailmodel.cpp" line="76"/>
        <source>%1  LIVE</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimerPanel</name>
    <message>
        <location filename="../src/timer/timerbar.cpp" line="55"/>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/timer/timerbar.cpp" line="56"/>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/timer/timerbar.cpp" line="76"/>
        <source>Set the presentation time to %1 minutes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UndoHistory</name>
    <message>
        <location filename="../src/playlist/undohistory.cpp" line="36"/>
        <source>Presentation time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/undohistory.cpp" line="52"/>
        <source>Back (nothing to undo)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/playlist/undohistory.cpp" line="53"/>
        <source>Back: undo &quot;%1&quot; (%2 steps)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <location filename="../src/ui/updatecheck.cpp" line="124"/>
        <source>unexpected content of the version file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/updatecheck.cpp" line="136"/>
        <source>You have the latest version (v%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/updatecheck.cpp" line="139"/>
        <source>The latest version could not be determined. Check your internet connection and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/updatecheck.cpp" line="149"/>
        <location filename="../src/ui/updatecheck.cpp" line="165"/>
        <source>Check for new version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/updatecheck.cpp" line="151"/>
        <source>A new version %1 is available (you have v%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/updatecheck.cpp" line="152"/>
        <source>Download v%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/updatecheck.cpp" line="155"/>
        <source>Later</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
