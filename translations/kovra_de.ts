<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>JobProgressView</name>
    <message>
        <source>%1 dots</source>
        <translation>%1 Punkte</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>etwa %1</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>estimating…</source>
        <translation>wird geschätzt…</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>pausiert</translation>
    </message>
    <message>
        <source>finished in %1</source>
        <translation>fertig in %1</translation>
    </message>
    <message>
        <source>connection broken</source>
        <translation>Verbindung unterbrochen</translation>
    </message>
    <message>
        <source>the picture did not arrive whole</source>
        <translation>das Bild kam nicht vollständig an</translation>
    </message>
    <message>
        <source>send it again</source>
        <translation>bitte erneut senden</translation>
    </message>
</context>
<context>
    <name>ShellViews</name>
    <message>
        <source>Sending picture %1 / %2 bytes (%p%)</source>
        <translation>Bild wird gesendet: %1 / %2 Byte (%p%)</translation>
    </message>
</context>
<context>
    <name>kovra::rendering</name>
    <message>
        <source>Black and white</source>
        <translation>Schwarzweiß</translation>
    </message>
    <message>
        <source>Diffusion</source>
        <translation>Diffusion</translation>
    </message>
    <message>
        <source>Floyd-Steinberg</source>
        <translation>Floyd-Steinberg</translation>
    </message>
    <message>
        <source>Jarvis</source>
        <translation>Jarvis</translation>
    </message>
    <message>
        <source>Stucki</source>
        <translation>Stucki</translation>
    </message>
    <message>
        <source>Atkinson</source>
        <translation>Atkinson</translation>
    </message>
    <message>
        <source>Burkes</source>
        <translation>Burkes</translation>
    </message>
    <message>
        <source>Sierra</source>
        <translation>Sierra</translation>
    </message>
    <message>
        <source>Sierra Lite</source>
        <translation>Sierra Lite</translation>
    </message>
    <message>
        <source>Bayer 8 x 8</source>
        <translation>Bayer 8 x 8</translation>
    </message>
    <message>
        <source>Blue noise</source>
        <translation>Blaues Rauschen</translation>
    </message>
</context>
<context>
    <name>kovra::shell::BoardCommands</name>
    <message>
        <source>Open a picture…</source>
        <translation>Bild öffnen…</translation>
    </message>
    <message>
        <source>Paste a picture</source>
        <translation>Bild einfügen</translation>
    </message>
    <message>
        <source>Save the preview as a PNG…</source>
        <translation>Vorschau als PNG speichern…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>Warum wird keine Maschine gefunden?</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</source>
        <translation>Bilder (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Open a picture</source>
        <translation>Bild öffnen</translation>
    </message>
    <message>
        <source>The clipboard holds no picture.</source>
        <translation>Die Zwischenablage enthält kein Bild.</translation>
    </message>
    <message>
        <source>Save the preview as it would be sent</source>
        <translation>Vorschau so speichern, wie sie gesendet würde</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>The preview could not be saved as %1.</source>
        <translation>Die Vorschau konnte nicht als %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>Save the preview</source>
        <translation>Vorschau speichern</translation>
    </message>
    <message>
        <source>Preview saved as %1</source>
        <translation>Vorschau gespeichert als %1</translation>
    </message>
</context>
<context>
    <name>kovra::shell::ContactSheetWindow</name>
    <message>
        <source>All renderings</source>
        <translation>Alle Effekte</translation>
    </message>
    <message>
        <source>Actual size (the middle of the picture, dot for dot)</source>
        <translation>Originalgröße (die Bildmitte, Punkt für Punkt)</translation>
    </message>
    <message>
        <source>Click a rendering to choose it</source>
        <translation>Zum Auswählen auf einen Effekt klicken</translation>
    </message>
    <message>
        <source>The tuned picture</source>
        <translation>Das angepasste Bild</translation>
    </message>
</context>
<context>
    <name>kovra::shell::DoctorFindingsWindow</name>
    <message>
        <source>Why the machine is not found</source>
        <translation>Warum die Maschine nicht gefunden wird</translation>
    </message>
    <message>
        <source>What this computer&apos;s serial ports show, and the commands that fix what stands in the way:</source>
        <translation>Was die seriellen Schnittstellen dieses Computers zeigen (Bericht auf Englisch), und die Befehle, die das Problem beheben:</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>kovra::shell::HelpController</name>
    <message>
        <source>In the main window, F1 shows why no machine is found.</source>
        <translation>Im Hauptfenster zeigt F1, warum keine Maschine gefunden wird.</translation>
    </message>
    <message>
        <source>Besides dragging: Ctrl+O opens a picture, Ctrl+V pastes one, Ctrl+S saves the preview, Ctrl+Z and Ctrl+Shift+Z undo and redo. Right-click the preview for the list.</source>
        <translation>Außer per Drag &amp; Drop: Strg+O öffnet ein Bild, Strg+V fügt eines ein, Strg+S speichert die Vorschau, Strg+Z und Strg+Umschalt+Z machen rückgängig und wiederholen. Rechtsklick auf die Vorschau zeigt die Liste.</translation>
    </message>
    <message>
        <source>The USB-serial driver&apos;s installer is not at %1.</source>
        <translation>Das Installationsprogramm des USB-Seriell-Treibers liegt nicht unter %1.</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>Warum wird keine Maschine gefunden?</translation>
    </message>
</context>
<context>
    <name>kovra::shell::JobEndNotice</name>
    <message>
        <source>Engraving finished in %1.</source>
        <translation>Gravur in %1 abgeschlossen.</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MachinePresenter</name>
    <message>
        <source> and %1 more</source>
        <translation> und %1 weitere</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied.</source>
        <translation>%1 kann nicht geöffnet werden: Zugriff verweigert.</translation>
    </message>
    <message>
        <source> Join the group &quot;%1&quot; that owns the device (sudo usermod -aG %1 $USER), then log in again.</source>
        <translation> Treten Sie der Gruppe „%1“ bei, der das Gerät gehört (sudo usermod -aG %1 $USER), und melden Sie sich neu an.</translation>
    </message>
    <message>
        <source>The arrow keys move the laser only while this program has the focus.</source>
        <translation>Die Pfeiltasten bewegen den Laser nur, solange dieses Programm den Fokus hat.</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MainWindow</name>
    <message>
        <source>Sending picture %p%</source>
        <translation>Bild wird gesendet %p%</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MissingMachineNotice</name>
    <message>
        <source>No engraver answered. Is the USB-serial driver installed? Press F1 to install it, or right-click the preview.</source>
        <translation>Kein Graviergerät hat geantwortet. Ist der USB-Seriell-Treiber installiert? F1 installiert ihn, oder Rechtsklick auf die Vorschau.</translation>
    </message>
    <message>
        <source>No engraver answered. Press F1 (or right-click the preview) to see why.</source>
        <translation>Kein Graviergerät hat geantwortet. F1 (oder Rechtsklick auf die Vorschau) zeigt, warum.</translation>
    </message>
</context>
<context>
    <name>kovra::shell::PicturePresenter</name>
    <message>
        <source>Cannot open picture &quot;%1&quot;: %2</source>
        <translation>Bild „%1“ kann nicht geöffnet werden: %2</translation>
    </message>
</context>
<context>
    <name>kovra::shell::TuningStrip</name>
    <message>
        <source>Threshold</source>
        <translation>Schwelle</translation>
    </message>
    <message>
        <source>Rendering</source>
        <translation>Effekt</translation>
    </message>
    <message>
        <source>All renderings side by side</source>
        <translation>Alle Effekte vergleichen</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Negativ</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Neutral</translation>
    </message>
    <message>
        <source>On the command line: --effect %1</source>
        <translation>In der Befehlszeile: --effect %1</translation>
    </message>
</context>
</TS>
