<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>JobProgressView</name>
    <message>
        <source>%1 dots</source>
        <translation>%1 points</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>environ %1</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>reste %1</translation>
    </message>
    <message>
        <source>estimating…</source>
        <translation>estimation…</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>en pause</translation>
    </message>
    <message>
        <source>finished in %1</source>
        <translation>terminé en %1</translation>
    </message>
    <message>
        <source>connection broken</source>
        <translation>connexion interrompue</translation>
    </message>
    <message>
        <source>the picture did not arrive whole</source>
        <translation>l&apos;image n&apos;est pas arrivée entière</translation>
    </message>
    <message>
        <source>send it again</source>
        <translation>renvoyez-la</translation>
    </message>
</context>
<context>
    <name>ShellViews</name>
    <message>
        <source>Sending picture %1 / %2 bytes (%p%)</source>
        <translation>Envoi de l&apos;image : %1 / %2 octets (%p%)</translation>
    </message>
</context>
<context>
    <name>kovra::rendering</name>
    <message>
        <source>Black and white</source>
        <translation>Noir et blanc</translation>
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
        <translation>Bruit bleu</translation>
    </message>
</context>
<context>
    <name>kovra::shell::BoardCommands</name>
    <message>
        <source>Open a picture…</source>
        <translation>Ouvrir une image…</translation>
    </message>
    <message>
        <source>Paste a picture</source>
        <translation>Coller une image</translation>
    </message>
    <message>
        <source>Save the preview as a PNG…</source>
        <translation>Enregistrer l&apos;aperçu en PNG…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>Pourquoi aucune machine n&apos;est trouvée ?</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</source>
        <translation>Images (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Open a picture</source>
        <translation>Ouvrir une image</translation>
    </message>
    <message>
        <source>The clipboard holds no picture.</source>
        <translation>Le presse-papiers ne contient aucune image.</translation>
    </message>
    <message>
        <source>Save the preview as it would be sent</source>
        <translation>Enregistrer l&apos;aperçu tel qu&apos;il serait envoyé</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>Images PNG (*.png)</translation>
    </message>
    <message>
        <source>The preview could not be saved as %1.</source>
        <translation>Impossible d&apos;enregistrer l&apos;aperçu sous %1.</translation>
    </message>
    <message>
        <source>Save the preview</source>
        <translation>Enregistrer l&apos;aperçu</translation>
    </message>
    <message>
        <source>Preview saved as %1</source>
        <translation>Aperçu enregistré sous %1</translation>
    </message>
</context>
<context>
    <name>kovra::shell::ContactSheetWindow</name>
    <message>
        <source>All renderings</source>
        <translation>Tous les effets</translation>
    </message>
    <message>
        <source>Actual size (the middle of the picture, dot for dot)</source>
        <translation>Taille réelle (le centre de l&apos;image, point par point)</translation>
    </message>
    <message>
        <source>Click a rendering to choose it</source>
        <translation>Cliquez sur un effet pour le choisir</translation>
    </message>
    <message>
        <source>The tuned picture</source>
        <translation>L&apos;image ajustée</translation>
    </message>
</context>
<context>
    <name>kovra::shell::DoctorFindingsWindow</name>
    <message>
        <source>Why the machine is not found</source>
        <translation>Pourquoi la machine est introuvable</translation>
    </message>
    <message>
        <source>What this computer&apos;s serial ports show, and the commands that fix what stands in the way:</source>
        <translation>Ce que montrent les ports série de cet ordinateur (rapport en anglais), et les commandes qui règlent le problème :</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>kovra::shell::HelpController</name>
    <message>
        <source>In the main window, F1 shows why no machine is found.</source>
        <translation>Dans la fenêtre principale, F1 indique pourquoi aucune machine n&apos;est trouvée.</translation>
    </message>
    <message>
        <source>Besides dragging: Ctrl+O opens a picture, Ctrl+V pastes one, Ctrl+S saves the preview, Ctrl+Z and Ctrl+Shift+Z undo and redo. Right-click the preview for the list.</source>
        <translation>En plus du glisser-déposer : Ctrl+O ouvre une image, Ctrl+V en colle une, Ctrl+S enregistre l&apos;aperçu, Ctrl+Z et Ctrl+Maj+Z annulent et rétablissent. Clic droit sur l&apos;aperçu pour la liste.</translation>
    </message>
    <message>
        <source>The USB-serial driver&apos;s installer is not at %1.</source>
        <translation>L&apos;installateur du pilote USB-série n&apos;est pas à l&apos;emplacement %1.</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>Pourquoi aucune machine n&apos;est trouvée ?</translation>
    </message>
</context>
<context>
    <name>kovra::shell::JobEndNotice</name>
    <message>
        <source>Engraving finished in %1.</source>
        <translation>Gravure terminée en %1.</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MachinePresenter</name>
    <message>
        <source> and %1 more</source>
        <translation> et %1 autres</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied.</source>
        <translation>Impossible d&apos;ouvrir %1 : accès refusé.</translation>
    </message>
    <message>
        <source> Join the group &quot;%1&quot; that owns the device (sudo usermod -aG %1 $USER), then log in again.</source>
        <translation> Rejoignez le groupe « %1 » propriétaire du périphérique (sudo usermod -aG %1 $USER), puis reconnectez-vous.</translation>
    </message>
    <message>
        <source>The arrow keys move the laser only while this program has the focus.</source>
        <translation>Les flèches ne déplacent le laser que lorsque ce programme a le focus.</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MainWindow</name>
    <message>
        <source>Sending picture %p%</source>
        <translation>Envoi de l&apos;image %p%</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MissingMachineNotice</name>
    <message>
        <source>No engraver answered. Is the USB-serial driver installed? Press F1 to install it, or right-click the preview.</source>
        <translation>Aucun graveur n&apos;a répondu. Le pilote USB-série est-il installé ? Appuyez sur F1 pour l&apos;installer, ou faites un clic droit sur l&apos;aperçu.</translation>
    </message>
    <message>
        <source>No engraver answered. Press F1 (or right-click the preview) to see why.</source>
        <translation>Aucun graveur n&apos;a répondu. Appuyez sur F1 (ou clic droit sur l&apos;aperçu) pour savoir pourquoi.</translation>
    </message>
</context>
<context>
    <name>kovra::shell::PicturePresenter</name>
    <message>
        <source>Cannot open picture &quot;%1&quot;: %2</source>
        <translation>Impossible d&apos;ouvrir l&apos;image « %1 » : %2</translation>
    </message>
</context>
<context>
    <name>kovra::shell::TuningStrip</name>
    <message>
        <source>Threshold</source>
        <translation>Seuil</translation>
    </message>
    <message>
        <source>Rendering</source>
        <translation>Effet</translation>
    </message>
    <message>
        <source>All renderings side by side</source>
        <translation>Comparer tous les effets</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Inverser</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Neutre</translation>
    </message>
    <message>
        <source>On the command line: --effect %1</source>
        <translation>En ligne de commande : --effect %1</translation>
    </message>
</context>
</TS>
