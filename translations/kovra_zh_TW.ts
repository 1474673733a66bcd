<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>JobProgressView</name>
    <message>
        <source>%1 dots</source>
        <translation>%1 個點</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>約 %1</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>剩餘 %1</translation>
    </message>
    <message>
        <source>estimating…</source>
        <translation>正在估算…</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>已暫停</translation>
    </message>
    <message>
        <source>finished in %1</source>
        <translation>用時 %1 完成</translation>
    </message>
    <message>
        <source>connection broken</source>
        <translation>連線已中斷</translation>
    </message>
    <message>
        <source>the picture did not arrive whole</source>
        <translation>圖像未完整送達</translation>
    </message>
    <message>
        <source>send it again</source>
        <translation>請重新傳送</translation>
    </message>
</context>
<context>
    <name>ShellViews</name>
    <message>
        <source>Sending picture %1 / %2 bytes (%p%)</source>
        <translation>正在傳送圖像 %1 / %2 位元組（%p%）</translation>
    </message>
</context>
<context>
    <name>kovra::rendering</name>
    <message>
        <source>Black and white</source>
        <translation>黑白</translation>
    </message>
    <message>
        <source>Diffusion</source>
        <translation>誤差擴散</translation>
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
        <translation>藍噪聲</translation>
    </message>
</context>
<context>
    <name>kovra::shell::BoardCommands</name>
    <message>
        <source>Open a picture…</source>
        <translation>開啟圖片…</translation>
    </message>
    <message>
        <source>Paste a picture</source>
        <translation>貼上圖片</translation>
    </message>
    <message>
        <source>Save the preview as a PNG…</source>
        <translation>將預覽儲存為 PNG…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>復原</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>為什麼找不到雕刻機？</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</source>
        <translation>圖片 (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>所有檔案 (*)</translation>
    </message>
    <message>
        <source>Open a picture</source>
        <translation>開啟圖片</translation>
    </message>
    <message>
        <source>The clipboard holds no picture.</source>
        <translation>剪貼簿中沒有圖片。</translation>
    </message>
    <message>
        <source>Save the preview as it would be sent</source>
        <translation>按傳送時的樣子儲存預覽</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG 圖片 (*.png)</translation>
    </message>
    <message>
        <source>The preview could not be saved as %1.</source>
        <translation>無法將預覽儲存為 %1。</translation>
    </message>
    <message>
        <source>Save the preview</source>
        <translation>儲存預覽</translation>
    </message>
    <message>
        <source>Preview saved as %1</source>
        <translation>預覽已儲存為 %1</translation>
    </message>
</context>
<context>
    <name>kovra::shell::ContactSheetWindow</name>
    <message>
        <source>All renderings</source>
        <translation>全部效果</translation>
    </message>
    <message>
        <source>Actual size (the middle of the picture, dot for dot)</source>
        <translation>實際大小（圖片中部，逐點顯示）</translation>
    </message>
    <message>
        <source>Click a rendering to choose it</source>
        <translation>按一下效果即可選用</translation>
    </message>
    <message>
        <source>The tuned picture</source>
        <translation>調整後的圖片</translation>
    </message>
</context>
<context>
    <name>kovra::shell::DoctorFindingsWindow</name>
    <message>
        <source>Why the machine is not found</source>
        <translation>為什麼找不到雕刻機</translation>
    </message>
    <message>
        <source>What this computer&apos;s serial ports show, and the commands that fix what stands in the way:</source>
        <translation>本機序列埠的檢查結果（報告為英文），以及解決問題的指令：</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>關閉</translation>
    </message>
</context>
<context>
    <name>kovra::shell::HelpController</name>
    <message>
        <source>In the main window, F1 shows why no machine is found.</source>
        <translation>在主視窗中按 F1 可查看找不到雕刻機的原因。</translation>
    </message>
    <message>
        <source>Besides dragging: Ctrl+O opens a picture, Ctrl+V pastes one, Ctrl+S saves the preview, Ctrl+Z and Ctrl+Shift+Z undo and redo. Right-click the preview for the list.</source>
        <translation>除了拖放：Ctrl+O 開啟圖片，Ctrl+V 貼上圖片，Ctrl+S 儲存預覽，Ctrl+Z 和 Ctrl+Shift+Z 復原與重做。在預覽上按右鍵可查看全部。</translation>
    </message>
    <message>
        <source>The USB-serial driver&apos;s installer is not at %1.</source>
        <translation>在 %1 找不到 USB 序列埠驅動程式的安裝程式。</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>為什麼找不到雕刻機？</translation>
    </message>
</context>
<context>
    <name>kovra::shell::JobEndNotice</name>
    <message>
        <source>Engraving finished in %1.</source>
        <translation>雕刻完成，用時 %1。</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MachinePresenter</name>
    <message>
        <source> and %1 more</source>
        <translation> 等另外 %1 個</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied.</source>
        <translation>無法開啟 %1：權限不足。</translation>
    </message>
    <message>
        <source> Join the group &quot;%1&quot; that owns the device (sudo usermod -aG %1 $USER), then log in again.</source>
        <translation>請加入擁有該裝置的群組「%1」（sudo usermod -aG %1 $USER），然後重新登入。</translation>
    </message>
    <message>
        <source>The arrow keys move the laser only while this program has the focus.</source>
        <translation>只有本程式處於焦點時，方向鍵才能移動雷射頭。</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MainWindow</name>
    <message>
        <source>Sending picture %p%</source>
        <translation>正在傳送圖像 %p%</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MissingMachineNotice</name>
    <message>
        <source>No engraver answered. Is the USB-serial driver installed? Press F1 to install it, or right-click the preview.</source>
        <translation>沒有雕刻機回應。USB 序列埠驅動程式裝好了嗎？按 F1 安裝驅動程式，或在預覽上按右鍵。</translation>
    </message>
    <message>
        <source>No engraver answered. Press F1 (or right-click the preview) to see why.</source>
        <translation>沒有雕刻機回應。按 F1（或在預覽上按右鍵）查看原因。</translation>
    </message>
</context>
<context>
    <name>kovra::shell::PicturePresenter</name>
    <message>
        <source>Cannot open picture &quot;%1&quot;: %2</source>
        <translation>無法開啟圖片「%1」：%2</translation>
    </message>
</context>
<context>
    <name>kovra::shell::TuningStrip</name>
    <message>
        <source>Threshold</source>
        <translation>閾值</translation>
    </message>
    <message>
        <source>Rendering</source>
        <translation>效果</translation>
    </message>
    <message>
        <source>All renderings side by side</source>
        <translation>並排比較全部效果</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>對比度</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>伽瑪</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>反相</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重設</translation>
    </message>
    <message>
        <source>On the command line: --effect %1</source>
        <translation>命令列中：--effect %1</translation>
    </message>
</context>
</TS>
