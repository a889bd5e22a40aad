<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Third-party notices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About OlvantiVIVuderidazi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF reader and presentation system with a playlist, a presenter view and a countdown timer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file THIRD-PARTY-NOTICES.txt was not found next to the application.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Action</name>
    <message>
        <source>Next slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to next reader page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to previous reader page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blackout / resume output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start / pause timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit presentation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timer +1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timer -1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timer +10 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timer -10 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move output to the other display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Return to the page before the jump</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overview of all pages</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ArrowButton</name>
    <message>
        <source>Add 1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subtract 1 minute</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Olvanti PDF reader and presentation system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF document to open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open PDF, render the first live frame and exit (diagnostic check).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blackout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit presentation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+10 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-10 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Return to the page before the jump</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overview of all pages...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Countdown</name>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DisplayChoice</name>
    <message>
        <source>%1 (%2 x %3, %4x)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HandOverNotice</name>
    <message>
        <source>Open now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add to playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Handed over during the show: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Handed over during the show: %1 and %2 more</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InputDialog</name>
    <message>
        <source>Clicker and keyboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB / Bluetooth keyboard clickers require no driver. Input works in both application windows.
Global input outside this application is not enabled. Separate alternatives with semicolons.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ignore clicker shortcuts while typing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum interval for repeated identical key presses (auto-repeat is always blocked):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test mode: capture input here without performing actions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last input: none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Captured: %1 -&gt; %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key mapping</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InputRouter</name>
    <message>
        <source>Invalid key: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bindings must be unique, single key combinations: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unassigned</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>EXIT FULLSCREEN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FULLSCREEN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output ON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output OFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BLACKOUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>external display is blank</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blackout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LIVE  -  BLACKOUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LIVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FILE %1 / %2  -  %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>END</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FILE %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missing document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The document no longer exists. Use Open to select another file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 - OlvantiVIVuderidazi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Document loaded. Clicker input works while either application window is active.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF documents (*.pdf);;Olvanti playlist (*.oplaylist *.opack);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>v0.7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PAGES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF Reader</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PRESENTER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start / stop the presentation on the external screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blank / restore the full-screen output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the current slide full screen on the output display; navigate with the keys or a clicker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous slide (or the last slide of the previous file)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next slide (or the next file of the playlist)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle blackout on the output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide PAGES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PAGES  |  LIVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show PAGES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open PDF...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back (undo last change)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Presenter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show / hide playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show / hide PAGES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Two pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add PDFs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open playlist...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save playlist...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export with PDFs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import package...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;resentation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output on external screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full screen output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clicker and keyboard...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About OlvantiVIVuderidazi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>−1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>−10 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+10 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start / stop the presentation in its own window (for screen sharing)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing is open yet
Open a PDF: File &gt; Open PDF... (%1)
Load a playlist: Playlist &gt; Open playlist...
Or drag PDFs, playlists and packages into this window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reader</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full screen on a display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In a window (for screen sharing)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output in a window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to page %1: Enter shows it, Escape cancels.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GO TO PAGE %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter shows it, Escape cancels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LIVE  -  output off: the audience sees nothing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Count down to a time of day...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export timing report...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>talk %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>programme %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export timing report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV table (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timing report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The timing report could not be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timing report written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Count down to a time of day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The countdown ends at:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences could not be saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageLog</name>
    <message>
        <source>Cannot create diagnostic log directory</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OutputControl</name>
    <message>
        <source>Open a PDF before starting output.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No output display is available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop presentation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to stop the presentation on the full-screen display?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to stop the presentation in the output window?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only one display is connected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The output will open on %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output moved to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output display disconnected. Output closed safely; it opens again when the display comes back, or select another display.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output display reconnected; the output is shown there again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OutputWindow</name>
    <message>
        <source>Olvanti - Presentation Output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Olvanti — audience</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OverviewPage</name>
    <message>
        <source>OVERVIEW  -  %1  -  Enter shows the page, Escape goes back</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageCanvas</name>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dip to black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wipe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PdfService</name>
    <message>
        <source>The file was not found or cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF requires a valid password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unsupported PDF encryption.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The PDF is damaged, unsupported, or contains no pages.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid page requested.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid render dimensions.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not render page %1. Previous output retained.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file was changed on disk after it was opened; pages not shown yet cannot be shown. Open it again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistControl</name>
    <message>
        <source>Add %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add %1 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove &quot;%1&quot; from the playlist?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove all %1 file(s) from the playlist?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reorder playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Append playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Olvanti playlist (*.oplaylist)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Olvanti playlist package (*.opack)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add PDFs to playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import playlist package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Playlist saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export playlist with PDFs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Playlist exported: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 missing file(s) were not exported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist already contains files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Append</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist file contains no files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Playlist loaded: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undone: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End page of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A playlist is still being loaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading was cancelled: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistDelegate</name>
    <message>
        <source>add timer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistFile</name>
    <message>
        <source>A PDF could not be unpacked: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is not an Olvanti playlist package.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The package is damaged or incomplete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The package could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a link to another place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The package could not be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no existing PDF in the playlist to export.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist has too many files for one package.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist file could not be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist file could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is not an Olvanti playlist file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The package holds more than %1 PDFs, more than can be imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A PDF changed while it was being exported: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder for the unpacked PDFs could not be created: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A PDF could not be read: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file became shorter while it was being exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist is too long for a playlist file: %1 MiB at most.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistLoad</name>
    <message>
        <source>Importing %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Playlist</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistModel</name>
    <message>
        <source>  (missing)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  (ends at page %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaylistPanel</name>
    <message>
        <source>PLAYLIST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open playlist...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save playlist...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export with PDFs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import package...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+ Add PDFs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show PLAYLIST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide PLAYLIST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a file in the playlist first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start a countdown when this file begins</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without a countdown the running timer is not changed when this file begins.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Countdown and end of the talk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The talk ends at page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its last page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Later pages are backup slides, reached by page number or the overview.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReaderControl</name>
    <message>
        <source>Previous page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/ %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Two pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll through all pages instead of switching them one by one</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>&quot;%1&quot; is a folder, not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a pipe, socket or device, not a file that can be opened.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SafeSave</name>
    <message>
        <source>error %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not open for writing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search text...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 search results%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (limit reached; refine search)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsGuard</name>
    <message>
        <source>the file was not written completely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the settings file is locked by another program</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <source>Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>External screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page transition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start timer when output opens</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit page (preserve all content)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit width (may crop vertically)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scaling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferred output display unavailable; choose a replacement before opening output.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output ON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output OFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full screen on a display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In a window (for screen sharing)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1280 × 720</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1920 × 1080</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free (drag the window&apos;s edges)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window size</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Show</name>
    <message>
        <source>End of presentation. Press Previous to go back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading PDF...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist file is missing:
%1
The presentation stays on the current file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The output stays on. Give Exit presentation again within two seconds to end it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Diagnostic PDF rendering timed out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostic PDF could not be opened</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbnailDelegate</name>
    <message>
        <source>LIVE</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbnailModel</name>
    <message>
        <source>%1  LIVE</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimerPanel</name>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the presentation time to %1 minutes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UndoHistory</name>
    <message>
        <source>Presentation time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back (nothing to undo)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back: undo &quot;%1&quot; (%2 steps)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <source>unexpected content of the version file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have the latest version (v%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The latest version could not be determined. Check your internet connection and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for new version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A new version %1 is available (you have v%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download v%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Later</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for new version...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for new version (not configured)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no complete answer within %1 s</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
