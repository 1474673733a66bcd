<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>JobProgressView</name>
    <message>
        <source>%1 dots</source>
        <translation>%1 punti</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>circa %1</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>mancano %1</translation>
    </message>
    <message>
        <source>estimating…</source>
        <translation>stima in corso…</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>in pausa</translation>
    </message>
    <message>
        <source>finished in %1</source>
        <translation>terminato in %1</translation>
    </message>
    <message>
        <source>connection broken</source>
        <translation>connessione interrotta</translation>
    </message>
    <message>
        <source>the picture did not arrive whole</source>
        <translation>l&apos;immagine non è arrivata intera</translation>
    </message>
    <message>
        <source>send it again</source>
        <translation>inviala di nuovo</translation>
    </message>
</context>
<context>
    <name>ShellViews</name>
    <message>
        <source>Sending picture %1 / %2 bytes (%p%)</source>
        <translation>Invio dell&apos;immagine: %1 / %2 byte (%p%)</translation>
    </message>
</context>
<context>
    <name>kovra::rendering</name>
    <message>
        <source>Black and white</source>
        <translation>Bianco e nero</translation>
    </message>
    <message>
        <source>Diffusion</source>
        <translation>Diffusione</translation>
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
        <translation>Rumore blu</translation>
    </message>
</context>
<context>
    <name>kovra::shell::BoardCommands</name>
    <message>
        <source>Open a picture…</source>
        <translation>Apri un&apos;immagine…</translation>
    </message>
    <message>
        <source>Paste a picture</source>
        <translation>Incolla un&apos;immagine</translation>
    </message>
    <message>
        <source>Save the preview as a PNG…</source>
        <translation>Salva l&apos;anteprima come PNG…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Ripeti</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>Perché la macchina non viene trovata?</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</source>
        <translation>Immagini (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tutti i file (*)</translation>
    </message>
    <message>
        <source>Open a picture</source>
        <translation>Apri un&apos;immagine</translation>
    </message>
    <message>
        <source>The clipboard holds no picture.</source>
        <translation>Negli appunti non c&apos;è alcuna immagine.</translation>
    </message>
    <message>
        <source>Save the preview as it would be sent</source>
        <translation>Salva l&apos;anteprima come verrebbe inviata</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>Immagini PNG (*.png)</translation>
    </message>
    <message>
        <source>The preview could not be saved as %1.</source>
        <translation>Impossibile salvare l&apos;anteprima come %1.</translation>
    </message>
    <message>
        <source>Save the preview</source>
        <translation>Salva l&apos;anteprima</translation>
    </message>
    <message>
        <source>Preview saved as %1</source>
        <translation>Anteprima salvata come %1</translation>
    </message>
</context>
<context>
    <name>kovra::shell::ContactSheetWindow</name>
    <message>
        <source>All renderings</source>
        <translation>Tutti gli effetti</translation>
    </message>
    <message>
        <source>Actual size (the middle of the picture, dot for dot)</source>
        <translation>Dimensioni reali (il centro dell&apos;immagine, punto per punto)</translation>
    </message>
    <message>
        <source>Click a rendering to choose it</source>
        <translation>Fai clic su un effetto per sceglierlo</translation>
    </message>
    <message>
        <source>The tuned picture</source>
        <translation>L&apos;immagine regolata</translation>
    </message>
</context>
<context>
    <name>kovra::shell::DoctorFindingsWindow</name>
    <message>
        <source>Why the machine is not found</source>
        <translation>Perché la macchina non viene trovata</translation>
    </message>
    <message>
        <source>What this computer&apos;s serial ports show, and the commands that fix what stands in the way:</source>
        <translation>Cosa mostrano le porte seriali di questo computer (rapporto in inglese) e i comandi che risolvono il problema:</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copia</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
</context>
<context>
    <name>kovra::shell::HelpController</name>
    <message>
        <source>In the main window, F1 shows why no machine is found.</source>
        <translation>Nella finestra principale, F1 mostra perché la macchina non viene trovata.</translation>
    </message>
    <message>
        <source>Besides dragging: Ctrl+O opens a picture, Ctrl+V pastes one, Ctrl+S saves the preview, Ctrl+Z and Ctrl+Shift+Z undo and redo. Right-click the preview for the list.</source>
        <translation>Oltre al trascinamento: Ctrl+O apre un&apos;immagine, Ctrl+V ne incolla una, Ctrl+S salva l&apos;anteprima, Ctrl+Z e Ctrl+Maiusc+Z annullano e ripetono. Clic destro sull&apos;anteprima per l&apos;elenco.</translation>
    </message>
    <message>
        <source>The USB-serial driver&apos;s installer is not at %1.</source>
        <translation>Il programma di installazione del driver USB-seriale non si trova in %1.</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>Perché la macchina non viene trovata?</translation>
    </message>
</context>
<context>
    <name>kovra::shell::JobEndNotice</name>
    <message>
        <source>Engraving finished in %1.</source>
        <translation>Incisione terminata in %1.</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MachinePresenter</name>
    <message>
        <source> and %1 more</source>
        <translation> e altri %1</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied.</source>
        <translation>Impossibile aprire %1: permesso negato.</translation>
    </message>
    <message>
        <source> Join the group &quot;%1&quot; that owns the device (sudo usermod -aG %1 $USER), then log in again.</source>
        <translation> Entra nel gruppo &quot;%1&quot; che possiede il dispositivo (sudo usermod -aG %1 $USER), poi accedi di nuovo.</translation>
    </message>
    <message>
        <source>The arrow keys move the laser only while this program has the focus.</source>
        <translation>I tasti freccia muovono il laser solo quando questo programma è in primo piano.</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MainWindow</name>
    <message>
        <source>Sending picture %p%</source>
        <translation>Invio dell&apos;immagine %p%</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MissingMachineNotice</name>
    <message>
        <source>No engraver answered. Is the USB-serial driver installed? Press F1 to install it, or right-click the preview.</source>
        <translation>Nessun incisore ha risposto. Il driver USB-seriale è installato? Premi F1 per installarlo, oppure fai clic destro sull&apos;anteprima.</translation>
    </message>
    <message>
        <source>No engraver answered. Press F1 (or right-click the preview) to see why.</source>
        <translation>Nessun incisore ha risposto. Premi F1 (o fai clic destro sull&apos;anteprima) per sapere perché.</translation>
    </message>
</context>
<context>
    <name>kovra::shell::PicturePresenter</name>
    <message>
        <source>Cannot open picture &quot;%1&quot;: %2</source>
        <translation>Impossibile aprire l&apos;immagine &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>kovra::shell::TuningStrip</name>
    <message>
        <source>Threshold</source>
        <translation>Soglia</translation>
    </message>
    <message>
        <source>Rendering</source>
        <translation>Effetto</translation>
    </message>
    <message>
        <source>All renderings side by side</source>
        <translation>Confronta tutti gli effetti</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosità</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contrasto</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Inverti</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Azzera</translation>
    </message>
    <message>
        <source>On the command line: --effect %1</source>
        <translation>Da riga di comando: --effect %1</translation>
    </message>
</context>
</TS>
