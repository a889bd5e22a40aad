<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Third-party notices</source>
        <translation>Hinweise zu Drittanbietern</translation>
    </message>
    <message>
        <source>About OlvantiVIVuderidazi</source>
        <translation>Über OlvantiVIVuderidazi</translation>
    </message>
    <message>
        <source>PDF reader and presentation system with a playlist, a presenter view and a countdown timer.</source>
        <translation>PDF-Leser und Präsentationssystem mit Wiedergabeliste, Referentenansicht und Countdown.</translation>
    </message>
    <message>
        <source>The file THIRD-PARTY-NOTICES.txt was not found next to the application.</source>
        <translation>Die Datei THIRD-PARTY-NOTICES.txt wurde neben der Anwendung nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>Action</name>
    <message>
        <source>Next slide</source>
        <translation>Nächste Folie</translation>
    </message>
    <message>
        <source>Previous slide</source>
        <translation>Vorherige Folie</translation>
    </message>
    <message>
        <source>First slide</source>
        <translation>Erste Folie</translation>
    </message>
    <message>
        <source>Last slide</source>
        <translation>Letzte Folie</translation>
    </message>
    <message>
        <source>Go to next reader page</source>
        <translation>Nächste Seite im Lesemodus</translation>
    </message>
    <message>
        <source>Go to previous reader page</source>
        <translation>Vorherige Seite im Lesemodus</translation>
    </message>
    <message>
        <source>Blackout / resume output</source>
        <translation>Schwarzbild / Ausgabe fortsetzen</translation>
    </message>
    <message>
        <source>Start / pause timer</source>
        <translation>Countdown starten / anhalten</translation>
    </message>
    <message>
        <source>Exit presentation</source>
        <translation>Präsentation beenden</translation>
    </message>
    <message>
        <source>Timer +1 minute</source>
        <translation>Countdown +1 Minute</translation>
    </message>
    <message>
        <source>Timer -1 minute</source>
        <translation>Countdown -1 Minute</translation>
    </message>
    <message>
        <source>Timer +10 seconds</source>
        <translation>Countdown +10 Sekunden</translation>
    </message>
    <message>
        <source>Timer -10 seconds</source>
        <translation>Countdown -10 Sekunden</translation>
    </message>
    <message>
        <source>Reset timer</source>
        <translation>Countdown zurücksetzen</translation>
    </message>
    <message>
        <source>Move output to the other display</source>
        <translation>Ausgabe auf den anderen Bildschirm verlegen</translation>
    </message>
    <message>
        <source>Return to the page before the jump</source>
        <translation>Zurück zur Seite vor dem Sprung</translation>
    </message>
    <message>
        <source>Overview of all pages</source>
        <translation>Übersicht aller Seiten</translation>
    </message>
</context>
<context>
    <name>ArrowButton</name>
    <message>
        <source>Add 1 minute</source>
        <translation>1 Minute hinzufügen</translation>
    </message>
    <message>
        <source>Subtract 1 minute</source>
        <translation>1 Minute abziehen</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Olvanti PDF reader and presentation system</source>
        <translation>Olvanti PDF-Leser und Präsentationssystem</translation>
    </message>
    <message>
        <source>PDF document to open.</source>
        <translation>Zu öffnendes PDF-Dokument.</translation>
    </message>
    <message>
        <source>Open PDF, render the first live frame and exit (diagnostic check).</source>
        <translation>PDF öffnen, das erste LIVE-Bild darstellen und beenden (Diagnoseprüfung).</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>Previous</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>First slide</source>
        <translation>Erste Folie</translation>
    </message>
    <message>
        <source>Last slide</source>
        <translation>Letzte Folie</translation>
    </message>
    <message>
        <source>Blackout</source>
        <translation>Schwarzbild</translation>
    </message>
    <message>
        <source>Exit presentation</source>
        <translation>Präsentation beenden</translation>
    </message>
    <message>
        <source>Start timer</source>
        <translation>Countdown starten</translation>
    </message>
    <message>
        <source>Reset timer</source>
        <translation>Countdown zurücksetzen</translation>
    </message>
    <message>
        <source>+1 minute</source>
        <translation>+1 Minute</translation>
    </message>
    <message>
        <source>-1 minute</source>
        <translation>-1 Minute</translation>
    </message>
    <message>
        <source>+10 seconds</source>
        <translation>+10 Sekunden</translation>
    </message>
    <message>
        <source>-10 seconds</source>
        <translation>-10 Sekunden</translation>
    </message>
    <message>
        <source>Return to the page before the jump</source>
        <translation>Zurück zur Seite vor dem Sprung</translation>
    </message>
    <message>
        <source>Overview of all pages...</source>
        <translation>Übersicht aller Seiten...</translation>
    </message>
</context>
<context>
    <name>Countdown</name>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
</context>
<context>
    <name>DisplayChoice</name>
    <message>
        <source>%1 (%2 x %3, %4x)</source>
        <translation>%1 (%2 × %3, %4x)</translation>
    </message>
</context>
<context>
    <name>HandOverNotice</name>
    <message>
        <source>Open now</source>
        <translation>Jetzt öffnen</translation>
    </message>
    <message>
        <source>Add to playlist</source>
        <translation>Zur Wiedergabeliste hinzufügen</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Handed over during the show: %1</source>
        <translation>Während der Präsentation übergeben: %1</translation>
    </message>
    <message>
        <source>Handed over during the show: %1 and %2 more</source>
        <translation>Während der Präsentation übergeben: %1 und %2 weitere</translation>
    </message>
</context>
<context>
    <name>InputDialog</name>
    <message>
        <source>Clicker and keyboard</source>
        <translation>Presenter und Tastatur</translation>
    </message>
    <message>
        <source>USB / Bluetooth keyboard clickers require no driver. Input works in both application windows.
Global input outside this application is not enabled. Separate alternatives with semicolons.</source>
        <translation>USB- und Bluetooth-Presenter, die sich als Tastatur melden, brauchen keinen Treiber. Eingaben wirken in beiden Fenstern der Anwendung.
Eingaben außerhalb dieser Anwendung werden nicht erfasst. Trennen Sie Alternativen durch Semikolons.</translation>
    </message>
    <message>
        <source>Ignore clicker shortcuts while typing</source>
        <translation>Presenter-Tasten bei Texteingabe ignorieren</translation>
    </message>
    <message>
        <source>Minimum interval for repeated identical key presses (auto-repeat is always blocked):</source>
        <translation>Mindestabstand zwischen gleichen Tastendrücken (automatische Wiederholung ist immer gesperrt):</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Test mode: capture input here without performing actions</source>
        <translation>Testmodus: Eingaben hier erfassen, ohne Aktionen auszuführen</translation>
    </message>
    <message>
        <source>Last input: none</source>
        <translation>Letzte Eingabe: keine</translation>
    </message>
    <message>
        <source>Captured: %1 -&gt; %2</source>
        <translation>Erfasst: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>Key mapping</source>
        <translation>Tastenbelegung</translation>
    </message>
</context>
<context>
    <name>InputRouter</name>
    <message>
        <source>Invalid key: %1</source>
        <translation>Ungültige Taste: %1</translation>
    </message>
    <message>
        <source>Bindings must be unique, single key combinations: %1</source>
        <translation>Belegungen müssen eindeutige, einzelne Tastenkombinationen sein: %1</translation>
    </message>
    <message>
        <source>Unassigned</source>
        <translation>Nicht belegt</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>EXIT FULLSCREEN</source>
        <translation>VOLLBILD BEENDEN</translation>
    </message>
    <message>
        <source>FULLSCREEN</source>
        <translation>VOLLBILD</translation>
    </message>
    <message>
        <source>Output ON</source>
        <translation>Ausgabe EIN</translation>
    </message>
    <message>
        <source>Output OFF</source>
        <translation>Ausgabe AUS</translation>
    </message>
    <message>
        <source>BLACKOUT</source>
        <translation>SCHWARZBILD</translation>
    </message>
    <message>
        <source>external display is blank</source>
        <translation>externer Bildschirm ist schwarz</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>Blackout</source>
        <translation>Schwarzbild</translation>
    </message>
    <message>
        <source>LIVE  -  BLACKOUT</source>
        <translation>LIVE  -  SCHWARZBILD</translation>
    </message>
    <message>
        <source>LIVE</source>
        <translation>LIVE</translation>
    </message>
    <message>
        <source>FILE %1 / %2  -  %3</source>
        <translation>DATEI %1 / %2  -  %3</translation>
    </message>
    <message>
        <source>END</source>
        <translation>ENDE</translation>
    </message>
    <message>
        <source>FILE %1</source>
        <translation>DATEI %1</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>NÄCHSTE</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Missing document</source>
        <translation>Dokument fehlt</translation>
    </message>
    <message>
        <source>The document no longer exists. Use Open to select another file.</source>
        <translation>Das Dokument existiert nicht mehr. Wählen Sie mit „Öffnen“ eine andere Datei.</translation>
    </message>
    <message>
        <source>%1 - OlvantiVIVuderidazi</source>
        <translation>%1 - OlvantiVIVuderidazi</translation>
    </message>
    <message>
        <source>Document loaded. Clicker input works while either application window is active.</source>
        <translation>Dokument geladen. Der Presenter wirkt, solange eines der beiden Fenster der Anwendung aktiv ist.</translation>
    </message>
    <message>
        <source>Encrypted PDF</source>
        <translation>Verschlüsseltes PDF</translation>
    </message>
    <message>
        <source>Cannot open PDF</source>
        <translation>PDF kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Open PDF</source>
        <translation>PDF öffnen</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf);;Olvanti playlist (*.oplaylist *.opack);;All files (*)</source>
        <translation>PDF-Dokumente (*.pdf);;Olvanti-Wiedergabeliste (*.oplaylist *.opack);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>v0.7</source>
        <translation>v0.7</translation>
    </message>
    <message>
        <source>PAGES</source>
        <translation>SEITEN</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Dokument</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>PDF Reader</source>
        <translation>PDF-Leser</translation>
    </message>
    <message>
        <source>PRESENTER</source>
        <translation>PRÄSENTATION</translation>
    </message>
    <message>
        <source>Start / stop the presentation on the external screen</source>
        <translation>Präsentation auf dem externen Bildschirm starten / beenden</translation>
    </message>
    <message>
        <source>Blank / restore the full-screen output</source>
        <translation>Vollbildausgabe schwarz schalten / wiederherstellen</translation>
    </message>
    <message>
        <source>Show the current slide full screen on the output display; navigate with the keys or a clicker</source>
        <translation>Aktuelle Folie im Vollbild auf dem Ausgabebildschirm zeigen; mit den Tasten oder einem Presenter weiterschalten</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Previous slide (or the last slide of the previous file)</source>
        <translation>Vorherige Folie (oder die letzte Folie der vorherigen Datei)</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Next slide (or the next file of the playlist)</source>
        <translation>Nächste Folie (oder die nächste Datei der Wiedergabeliste)</translation>
    </message>
    <message>
        <source>Toggle blackout on the output</source>
        <translation>Schwarzbild der Ausgabe ein- / ausschalten</translation>
    </message>
    <message>
        <source>Hide PAGES</source>
        <translation>SEITEN ausblenden</translation>
    </message>
    <message>
        <source>PAGES  |  LIVE</source>
        <translation>SEITEN  |  LIVE</translation>
    </message>
    <message>
        <source>Show PAGES</source>
        <translation>SEITEN einblenden</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open PDF...</source>
        <translation>PDF ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Recent documents</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Close document</source>
        <translation>Dokument schließen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Search...</source>
        <translation>Suchen...</translation>
    </message>
    <message>
        <source>Back (undo last change)</source>
        <translation>Zurück (letzte Änderung rückgängig)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Presenter</source>
        <translation>Präsentationsmodus</translation>
    </message>
    <message>
        <source>Show / hide playlist</source>
        <translation>Wiedergabeliste ein- / ausblenden</translation>
    </message>
    <message>
        <source>Show / hide PAGES</source>
        <translation>SEITEN ein- / ausblenden</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation>Seitenbreite</translation>
    </message>
    <message>
        <source>Rotate page</source>
        <translation>Seite drehen</translation>
    </message>
    <message>
        <source>Two pages</source>
        <translation>Doppelseiten</translation>
    </message>
    <message>
        <source>Scroll mode</source>
        <translation>Bildlaufmodus</translation>
    </message>
    <message>
        <source>&amp;Playlist</source>
        <translation>&amp;Wiedergabeliste</translation>
    </message>
    <message>
        <source>Add PDFs...</source>
        <translation>PDFs hinzufügen...</translation>
    </message>
    <message>
        <source>Open playlist...</source>
        <translation>Wiedergabeliste öffnen...</translation>
    </message>
    <message>
        <source>Save playlist...</source>
        <translation>Wiedergabeliste speichern...</translation>
    </message>
    <message>
        <source>Export with PDFs...</source>
        <translation>Mit PDFs exportieren...</translation>
    </message>
    <message>
        <source>Import package...</source>
        <translation>Paket importieren...</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>P&amp;resentation</source>
        <translation>P&amp;räsentation</translation>
    </message>
    <message>
        <source>Output on external screen</source>
        <translation>Ausgabe auf externem Bildschirm</translation>
    </message>
    <message>
        <source>Full screen output</source>
        <translation>Vollbildausgabe</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Countdown</translation>
    </message>
    <message>
        <source>Start timer</source>
        <translation>Countdown starten</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>Setup...</source>
        <translation>Einrichtung...</translation>
    </message>
    <message>
        <source>Clicker and keyboard...</source>
        <translation>Presenter und Tastatur...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>About OlvantiVIVuderidazi</source>
        <translation>Über OlvantiVIVuderidazi</translation>
    </message>
    <message>
        <source>Pause timer</source>
        <translation>Countdown anhalten</translation>
    </message>
    <message>
        <source>+1 min</source>
        <translation>+1 min</translation>
    </message>
    <message>
        <source>−1 min</source>
        <translation>−1 min</translation>
    </message>
    <message>
        <source>−10 s</source>
        <translation>−10 s</translation>
    </message>
    <message>
        <source>+10 s</source>
        <translation>+10 s</translation>
    </message>
    <message>
        <source>Start / stop the presentation in its own window (for screen sharing)</source>
        <translation>Präsentation im eigenen Fenster starten / beenden (zum Teilen des Bildschirms)</translation>
    </message>
    <message>
        <source>Nothing is open yet
Open a PDF: File &gt; Open PDF... (%1)
Load a playlist: Playlist &gt; Open playlist...
Or drag PDFs, playlists and packages into this window</source>
        <translation>Noch ist nichts geöffnet
PDF öffnen: Datei &gt; PDF öffnen... (%1)
Wiedergabeliste laden: Wiedergabeliste &gt; Wiedergabeliste öffnen...
Oder PDFs, Wiedergabelisten und Pakete in dieses Fenster ziehen</translation>
    </message>
    <message>
        <source>Reader</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Show output</source>
        <translation>Ausgabe zeigen</translation>
    </message>
    <message>
        <source>Full screen on a display</source>
        <translation>Vollbild auf einem Bildschirm</translation>
    </message>
    <message>
        <source>In a window (for screen sharing)</source>
        <translation>In einem Fenster (zum Teilen des Bildschirms)</translation>
    </message>
    <message>
        <source>Output in a window</source>
        <translation>Ausgabe in einem Fenster</translation>
    </message>
    <message>
        <source>Go to page %1: Enter shows it, Escape cancels.</source>
        <translation>Gehe zu Seite %1: Eingabe zeigt sie, Escape bricht ab.</translation>
    </message>
    <message>
        <source>GO TO PAGE %1</source>
        <translation>GEHE ZU SEITE %1</translation>
    </message>
    <message>
        <source>Enter shows it, Escape cancels</source>
        <translation>Eingabe zeigt sie, Escape bricht ab</translation>
    </message>
    <message>
        <source>LIVE  -  output off: the audience sees nothing</source>
        <translation>LIVE  -  Ausgabe aus: das Publikum sieht nichts</translation>
    </message>
    <message>
        <source>Count down to a time of day...</source>
        <translation>Countdown bis zu einer Uhrzeit...</translation>
    </message>
    <message>
        <source>Export timing report...</source>
        <translation>Zeitbericht exportieren...</translation>
    </message>
    <message>
        <source>talk %1</source>
        <translation>Vortrag %1</translation>
    </message>
    <message>
        <source>programme %1</source>
        <translation>Programm %1</translation>
    </message>
    <message>
        <source>Export timing report</source>
        <translation>Zeitbericht exportieren</translation>
    </message>
    <message>
        <source>CSV table (*.csv)</source>
        <translation>CSV-Tabelle (*.csv)</translation>
    </message>
    <message>
        <source>Timing report</source>
        <translation>Zeitbericht</translation>
    </message>
    <message>
        <source>The timing report could not be written: %1</source>
        <translation>Der Zeitbericht konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Timing report written: %1</source>
        <translation>Zeitbericht geschrieben: %1</translation>
    </message>
    <message>
        <source>Count down to a time of day</source>
        <translation>Countdown bis zu einer Uhrzeit</translation>
    </message>
    <message>
        <source>The countdown ends at:</source>
        <translation>Der Countdown endet um:</translation>
    </message>
    <message>
        <source>Preferences could not be saved: %1</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden: %1</translation>
    </message>
</context>
<context>
    <name>MessageLog</name>
    <message>
        <source>Cannot create diagnostic log directory</source>
        <translation>Der Ordner für das Diagnoseprotokoll kann nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>OutputControl</name>
    <message>
        <source>Open a PDF before starting output.</source>
        <translation>Öffnen Sie ein PDF, bevor Sie die Ausgabe starten.</translation>
    </message>
    <message>
        <source>Output display</source>
        <translation>Ausgabebildschirm</translation>
    </message>
    <message>
        <source>No output display is available.</source>
        <translation>Kein Ausgabebildschirm verfügbar.</translation>
    </message>
    <message>
        <source>Stop presentation</source>
        <translation>Präsentation beenden</translation>
    </message>
    <message>
        <source>Do you really want to stop the presentation on the full-screen display?</source>
        <translation>Möchten Sie die Präsentation auf dem Vollbildschirm wirklich beenden?</translation>
    </message>
    <message>
        <source>Do you really want to stop the presentation in the output window?</source>
        <translation>Möchten Sie die Präsentation im Ausgabefenster wirklich beenden?</translation>
    </message>
    <message>
        <source>Only one display is connected.</source>
        <translation>Es ist nur ein Bildschirm angeschlossen.</translation>
    </message>
    <message>
        <source>The output will open on %1.</source>
        <translation>Die Ausgabe öffnet sich auf %1.</translation>
    </message>
    <message>
        <source>Output moved to %1.</source>
        <translation>Ausgabe auf %1 verlegt.</translation>
    </message>
    <message>
        <source>Output display disconnected. Output closed safely; it opens again when the display comes back, or select another display.</source>
        <translation>Ausgabebildschirm getrennt. Die Ausgabe wurde sicher geschlossen; sie öffnet sich wieder, sobald der Bildschirm zurück ist, oder wählen Sie einen anderen Bildschirm.</translation>
    </message>
    <message>
        <source>Output display reconnected; the output is shown there again.</source>
        <translation>Ausgabebildschirm wieder verbunden; die Ausgabe wird dort wieder gezeigt.</translation>
    </message>
</context>
<context>
    <name>OutputWindow</name>
    <message>
        <source>Olvanti - Presentation Output</source>
        <translation>Olvanti - Präsentationsausgabe</translation>
    </message>
    <message>
        <source>Olvanti — audience</source>
        <translation>Olvanti — Publikum</translation>
    </message>
</context>
<context>
    <name>OverviewPage</name>
    <message>
        <source>OVERVIEW  -  %1  -  Enter shows the page, Escape goes back</source>
        <translation>ÜBERSICHT  -  %1  -  Eingabe zeigt die Seite, Escape geht zurück</translation>
    </message>
</context>
<context>
    <name>PageCanvas</name>
    <message>
        <source>None</source>
        <translation>Keiner</translation>
    </message>
    <message>
        <source>Fade</source>
        <translation>Überblenden</translation>
    </message>
    <message>
        <source>Dip to black</source>
        <translation>Über Schwarz blenden</translation>
    </message>
    <message>
        <source>Slide</source>
        <translation>Schieben</translation>
    </message>
    <message>
        <source>Wipe</source>
        <translation>Wischen</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoomen</translation>
    </message>
</context>
<context>
    <name>PdfService</name>
    <message>
        <source>Invalid page requested.</source>
        <translation>Ungültige Seite angefordert.</translation>
    </message>
    <message>
        <source>Invalid render dimensions.</source>
        <translation>Ungültige Darstellungsgröße.</translation>
    </message>
    <message>
        <source>Could not render page %1. Previous output retained.</source>
        <translation>Seite %1 konnte nicht dargestellt werden. Die bisherige Ausgabe bleibt erhalten.</translation>
    </message>
    <message>
        <source>The file was not found or cannot be read.</source>
        <translation>Die Datei wurde nicht gefunden oder kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>PDF requires a valid password.</source>
        <translation>Das PDF erfordert ein gültiges Passwort.</translation>
    </message>
    <message>
        <source>Unsupported PDF encryption.</source>
        <translation>Nicht unterstützte PDF-Verschlüsselung.</translation>
    </message>
    <message>
        <source>The PDF is damaged, unsupported, or contains no pages.</source>
        <translation>Das PDF ist beschädigt, wird nicht unterstützt oder enthält keine Seiten.</translation>
    </message>
    <message>
        <source>The file was changed on disk after it was opened; pages not shown yet cannot be shown. Open it again.</source>
        <translation>Die Datei wurde nach dem Öffnen auf dem Datenträger geändert; noch nicht gezeigte Seiten können nicht gezeigt werden. Öffnen Sie sie erneut.</translation>
    </message>
</context>
<context>
    <name>PlaylistControl</name>
    <message>
        <source>Add %1</source>
        <translation>%1 hinzufügen</translation>
    </message>
    <message>
        <source>Add %1 files</source>
        <translation>%1 Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Remove file</source>
        <translation>Datei entfernen</translation>
    </message>
    <message>
        <source>Remove "%1" from the playlist?</source>
        <translation>„%1“ aus der Wiedergabeliste entfernen?</translation>
    </message>
    <message>
        <source>Remove %1</source>
        <translation>%1 entfernen</translation>
    </message>
    <message>
        <source>Move %1</source>
        <translation>%1 verschieben</translation>
    </message>
    <message>
        <source>Clear playlist</source>
        <translation>Wiedergabeliste leeren</translation>
    </message>
    <message>
        <source>Remove all %1 file(s) from the playlist?</source>
        <translation>Alle %1 Datei(en) aus der Wiedergabeliste entfernen?</translation>
    </message>
    <message>
        <source>Reorder playlist</source>
        <translation>Wiedergabeliste umsortieren</translation>
    </message>
    <message>
        <source>Time of %1</source>
        <translation>Zeit für %1</translation>
    </message>
    <message>
        <source>Load playlist</source>
        <translation>Wiedergabeliste laden</translation>
    </message>
    <message>
        <source>Append playlist</source>
        <translation>Wiedergabeliste anhängen</translation>
    </message>
    <message>
        <source>Olvanti playlist (*.oplaylist)</source>
        <translation>Olvanti-Wiedergabeliste (*.oplaylist)</translation>
    </message>
    <message>
        <source>Olvanti playlist package (*.opack)</source>
        <translation>Olvanti-Wiedergabelistenpaket (*.opack)</translation>
    </message>
    <message>
        <source>Playlist</source>
        <translation>Wiedergabeliste</translation>
    </message>
    <message>
        <source>Add PDFs to playlist</source>
        <translation>PDFs zur Wiedergabeliste hinzufügen</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
    <message>
        <source>Open playlist</source>
        <translation>Wiedergabeliste öffnen</translation>
    </message>
    <message>
        <source>Import playlist package</source>
        <translation>Wiedergabelistenpaket importieren</translation>
    </message>
    <message>
        <source>Save playlist</source>
        <translation>Wiedergabeliste speichern</translation>
    </message>
    <message>
        <source>The playlist is empty.</source>
        <translation>Die Wiedergabeliste ist leer.</translation>
    </message>
    <message>
        <source>Playlist saved: %1</source>
        <translation>Wiedergabeliste gespeichert: %1</translation>
    </message>
    <message>
        <source>Export playlist with PDFs</source>
        <translation>Wiedergabeliste mit PDFs exportieren</translation>
    </message>
    <message>
        <source>Playlist exported: %1</source>
        <translation>Wiedergabeliste exportiert: %1</translation>
    </message>
    <message>
        <source>%1 missing file(s) were not exported.</source>
        <translation>%1 fehlende Datei(en) wurden nicht exportiert.</translation>
    </message>
    <message>
        <source>The playlist already contains files.</source>
        <translation>Die Wiedergabeliste enthält bereits Dateien.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Append</source>
        <translation>Anhängen</translation>
    </message>
    <message>
        <source>The playlist file contains no files.</source>
        <translation>Die Wiedergabelistendatei enthält keine Dateien.</translation>
    </message>
    <message>
        <source>Playlist loaded: %1</source>
        <translation>Wiedergabeliste geladen: %1</translation>
    </message>
    <message>
        <source>Undone: %1</source>
        <translation>Rückgängig gemacht: %1</translation>
    </message>
    <message>
        <source>End page of %1</source>
        <translation>Endseite von %1</translation>
    </message>
    <message>
        <source>A playlist is still being loaded.</source>
        <translation>Es wird noch eine Wiedergabeliste geladen.</translation>
    </message>
    <message>
        <source>Loading was cancelled: %1</source>
        <translation>Das Laden wurde abgebrochen: %1</translation>
    </message>
</context>
<context>
    <name>PlaylistDelegate</name>
    <message>
        <source>add timer</source>
        <translation>+ Countdown</translation>
    </message>
</context>
<context>
    <name>PlaylistFile</name>
    <message>
        <source>A PDF could not be unpacked: %1</source>
        <translation>Ein PDF konnte nicht entpackt werden: %1</translation>
    </message>
    <message>
        <source>This is not an Olvanti playlist package.</source>
        <translation>Dies ist kein Olvanti-Wiedergabelistenpaket.</translation>
    </message>
    <message>
        <source>The package is damaged or incomplete.</source>
        <translation>Das Paket ist beschädigt oder unvollständig.</translation>
    </message>
    <message>
        <source>The package could not be read: %1</source>
        <translation>Das Paket konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>%1 is a link to another place.</source>
        <translation>%1 ist ein Verweis auf einen anderen Ort.</translation>
    </message>
    <message>
        <source>The package could not be written: %1</source>
        <translation>Das Paket konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>There is no existing PDF in the playlist to export.</source>
        <translation>Die Wiedergabeliste enthält kein vorhandenes PDF zum Exportieren.</translation>
    </message>
    <message>
        <source>The playlist has too many files for one package.</source>
        <translation>Die Wiedergabeliste hat zu viele Dateien für ein Paket.</translation>
    </message>
    <message>
        <source>The playlist file could not be written: %1</source>
        <translation>Die Wiedergabelistendatei konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The playlist file could not be read: %1</source>
        <translation>Die Wiedergabelistendatei konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>This is not an Olvanti playlist file.</source>
        <translation>Dies ist keine Olvanti-Wiedergabelistendatei.</translation>
    </message>
    <message>
        <source>The package holds more than %1 PDFs, more than can be imported.</source>
        <translation>Das Paket enthält mehr als %1 PDFs, mehr als importiert werden können.</translation>
    </message>
    <message>
        <source>A PDF changed while it was being exported: %1</source>
        <translation>Ein PDF wurde während des Exports geändert: %1</translation>
    </message>
    <message>
        <source>The folder for the unpacked PDFs could not be created: %1 (%2)</source>
        <translation>Der Ordner für die entpackten PDFs konnte nicht angelegt werden: %1 (%2)</translation>
    </message>
    <message>
        <source>A PDF could not be read: %1 (%2)</source>
        <translation>Ein PDF konnte nicht gelesen werden: %1 (%2)</translation>
    </message>
    <message>
        <source>the file became shorter while it was being exported</source>
        <translation>die Datei wurde während des Exports kürzer</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
    <message>
        <source>The playlist is too long for a playlist file: %1 MiB at most.</source>
        <translation>Die Wiedergabeliste ist zu lang für eine Wiedergabelisten-Datei: höchstens %1 MiB.</translation>
    </message>
</context>
<context>
    <name>PlaylistLoad</name>
    <message>
        <source>Importing %1...</source>
        <translation>%1 wird importiert...</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>%1 wird gelesen...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Playlist</source>
        <translation>Wiedergabeliste</translation>
    </message>
</context>
<context>
    <name>PlaylistModel</name>
    <message>
        <source>  (missing)</source>
        <translation>  (fehlt)</translation>
    </message>
    <message>
        <source>  (ends at page %1)</source>
        <translation>  (endet auf Seite %1)</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
</context>
<context>
    <name>PlaylistPanel</name>
    <message>
        <source>PLAYLIST</source>
        <translation>WIEDERGABELISTE</translation>
    </message>
    <message>
        <source>Open playlist...</source>
        <translation>Wiedergabeliste öffnen...</translation>
    </message>
    <message>
        <source>Save playlist...</source>
        <translation>Wiedergabeliste speichern...</translation>
    </message>
    <message>
        <source>Export with PDFs...</source>
        <translation>Mit PDFs exportieren...</translation>
    </message>
    <message>
        <source>Import package...</source>
        <translation>Paket importieren...</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>+ Add PDFs...</source>
        <translation>+ PDFs hinzufügen...</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Show PLAYLIST</source>
        <translation>WIEDERGABELISTE einblenden</translation>
    </message>
    <message>
        <source>Hide PLAYLIST</source>
        <translation>WIEDERGABELISTE ausblenden</translation>
    </message>
    <message>
        <source>Select a file in the playlist first.</source>
        <translation>Wählen Sie zuerst eine Datei in der Wiedergabeliste.</translation>
    </message>
    <message>
        <source>Start a countdown when this file begins</source>
        <translation>Countdown starten, wenn diese Datei beginnt</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>Without a countdown the running timer is not changed when this file begins.</source>
        <translation>Ohne eigenen Countdown bleibt die laufende Zeit unverändert, wenn diese Datei beginnt.</translation>
    </message>
    <message>
        <source>Countdown and end of the talk</source>
        <translation>Countdown und Ende des Vortrags</translation>
    </message>
    <message>
        <source>The talk ends at page</source>
        <translation>Der Vortrag endet auf Seite</translation>
    </message>
    <message>
        <source>its last page</source>
        <translation>seiner letzten Seite</translation>
    </message>
    <message>
        <source>Later pages are backup slides, reached by page number or the overview.</source>
        <translation>Spätere Seiten sind Reservefolien, erreichbar über die Seitennummer oder die Übersicht.</translation>
    </message>
</context>
<context>
    <name>ReaderControl</name>
    <message>
        <source>Previous page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Page </source>
        <translation>Seite </translation>
    </message>
    <message>
        <source>/ %1</source>
        <translation>/ %1</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation>Seitenbreite</translation>
    </message>
    <message>
        <source>Custom zoom</source>
        <translation>Eigener Zoom</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Drehen</translation>
    </message>
    <message>
        <source>Rotate the page</source>
        <translation>Seite drehen</translation>
    </message>
    <message>
        <source>Two pages</source>
        <translation>Doppelseiten</translation>
    </message>
    <message>
        <source>Scroll</source>
        <translation>Bildlauf</translation>
    </message>
    <message>
        <source>Scroll through all pages instead of switching them one by one</source>
        <translation>Durch alle Seiten blättern, statt sie einzeln umzuschalten</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>"%1" is a folder, not a file.</source>
        <translation>„%1“ ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>"%1" is a pipe, socket or device, not a file that can be opened.</source>
        <translation>„%1“ ist eine Pipe, ein Socket oder ein Gerät, keine Datei, die geöffnet werden kann.</translation>
    </message>
</context>
<context>
    <name>SafeSave</name>
    <message>
        <source>error %1</source>
        <translation>Fehler %1</translation>
    </message>
    <message>
        <source>the file is not open for writing</source>
        <translation>die Datei ist nicht zum Schreiben geöffnet</translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Search text...</source>
        <translation>Suchtext...</translation>
    </message>
    <message>
        <source>Page %1: %2</source>
        <translation>Seite %1: %2</translation>
    </message>
    <message>
        <source>%1 search results%2</source>
        <translation>%1 Suchergebnisse%2</translation>
    </message>
    <message>
        <source> (limit reached; refine search)</source>
        <translation> (Grenze erreicht; Suche eingrenzen)</translation>
    </message>
</context>
<context>
    <name>SettingsGuard</name>
    <message>
        <source>the file was not written completely</source>
        <translation>die Datei wurde nicht vollständig geschrieben</translation>
    </message>
    <message>
        <source>the settings file is locked by another program</source>
        <translation>die Einstellungsdatei ist von einem anderen Programm gesperrt</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <source>Setup</source>
        <translation>Einrichtung</translation>
    </message>
    <message>
        <source>External screen</source>
        <translation>Externer Bildschirm</translation>
    </message>
    <message>
        <source>Page transition</source>
        <translation>Seitenübergang</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Countdown</translation>
    </message>
    <message>
        <source>Start timer when output opens</source>
        <translation>Countdown starten, wenn die Ausgabe öffnet</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Bildschirm</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>Fit page (preserve all content)</source>
        <translation>Ganze Seite (gesamter Inhalt sichtbar)</translation>
    </message>
    <message>
        <source>Fit width (may crop vertically)</source>
        <translation>Seitenbreite (oben und unten evtl. beschnitten)</translation>
    </message>
    <message>
        <source>Scaling</source>
        <translation>Skalierung</translation>
    </message>
    <message>
        <source>Effect</source>
        <translation>Effekt</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Preferred output display unavailable; choose a replacement before opening output.</source>
        <translation>Bevorzugter Ausgabebildschirm nicht verfügbar; wählen Sie vor dem Öffnen der Ausgabe einen anderen.</translation>
    </message>
    <message>
        <source>Output ON</source>
        <translation>Ausgabe EIN</translation>
    </message>
    <message>
        <source>Output OFF</source>
        <translation>Ausgabe AUS</translation>
    </message>
    <message>
        <source>Full screen on a display</source>
        <translation>Vollbild auf einem Bildschirm</translation>
    </message>
    <message>
        <source>In a window (for screen sharing)</source>
        <translation>In einem Fenster (zum Teilen des Bildschirms)</translation>
    </message>
    <message>
        <source>Show output</source>
        <translation>Ausgabe zeigen</translation>
    </message>
    <message>
        <source>1280 × 720</source>
        <translation>1280 × 720</translation>
    </message>
    <message>
        <source>1920 × 1080</source>
        <translation>1920 × 1080</translation>
    </message>
    <message>
        <source>Free (drag the window's edges)</source>
        <translation>Frei (Fensterränder ziehen)</translation>
    </message>
    <message>
        <source>Window size</source>
        <translation>Fenstergröße</translation>
    </message>
</context>
<context>
    <name>Show</name>
    <message>
        <source>End of presentation. Press Previous to go back.</source>
        <translation>Ende der Präsentation. Mit „Zurück“ gehen Sie zurück.</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>Loading PDF...</source>
        <translation>PDF wird geladen...</translation>
    </message>
    <message>
        <source>The playlist file is missing:
%1
The presentation stays on the current file.</source>
        <translation>Die Datei der Wiedergabeliste fehlt:
%1
Die Präsentation bleibt bei der aktuellen Datei.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Close %1</source>
        <translation>%1 schließen</translation>
    </message>
    <message>
        <source>The output stays on. Give Exit presentation again within two seconds to end it.</source>
        <translation>Die Ausgabe bleibt an. Zum Beenden „Präsentation beenden“ innerhalb von zwei Sekunden noch einmal geben.</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Diagnostic PDF rendering timed out</source>
        <translation>Zeitüberschreitung bei der Diagnose-Darstellung des PDF</translation>
    </message>
    <message>
        <source>Diagnostic PDF could not be opened</source>
        <translation>Das Diagnose-PDF konnte nicht geöffnet werden</translation>
    </message>
</context>
<context>
    <name>ThumbnailDelegate</name>
    <message>
        <source>LIVE</source>
        <translation>LIVE</translation>
    </message>
</context>
<context>
    <name>ThumbnailModel</name>
    <message>
        <source>%1  LIVE</source>
        <translation>%1  LIVE</translation>
    </message>
</context>
<context>
    <name>TimerPanel</name>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Set the presentation time to %1 minutes</source>
        <translation>Präsentationszeit auf %1 Minuten setzen</translation>
    </message>
</context>
<context>
    <name>UndoHistory</name>
    <message>
        <source>Presentation time</source>
        <translation>Präsentationszeit</translation>
    </message>
    <message>
        <source>Back (nothing to undo)</source>
        <translation>Zurück (nichts rückgängig zu machen)</translation>
    </message>
    <message>
        <source>Back: undo "%1" (%2 steps)</source>
        <translation>Zurück: „%1“ rückgängig machen (%2 Schritte)</translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <source>unexpected content of the version file</source>
        <translation>unerwarteter Inhalt der Versionsdatei</translation>
    </message>
    <message>
        <source>You have the latest version (v%1).</source>
        <translation>Sie haben die neueste Version (v%1).</translation>
    </message>
    <message>
        <source>The latest version could not be determined. Check your internet connection and try again.</source>
        <translation>Die neueste Version konnte nicht ermittelt werden. Prüfen Sie Ihre Internetverbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Check for new version</source>
        <translation>Nach neuer Version suchen</translation>
    </message>
    <message>
        <source>A new version %1 is available (you have v%2).</source>
        <translation>Eine neue Version %1 ist verfügbar (Sie haben v%2).</translation>
    </message>
    <message>
        <source>Download v%1</source>
        <translation>v%1 herunterladen</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Check for new version...</source>
        <translation>Nach neuer Version suchen...</translation>
    </message>
    <message>
        <source>Check for new version (not configured)</source>
        <translation>Nach neuer Version suchen (nicht eingerichtet)</translation>
    </message>
    <message>
        <source>no complete answer within %1 s</source>
        <translation>keine vollständige Antwort innerhalb von %1 s</translation>
    </message>
</context>
</TS>