<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>JobProgressView</name>
    <message>
        <source>%1 dots</source>
        <translation>%1 ドット</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>約 %1</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>残り %1</translation>
    </message>
    <message>
        <source>estimating…</source>
        <translation>推定中…</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>一時停止中</translation>
    </message>
    <message>
        <source>finished in %1</source>
        <translation>%1 で完了</translation>
    </message>
    <message>
        <source>connection broken</source>
        <translation>接続が切れました</translation>
    </message>
    <message>
        <source>the picture did not arrive whole</source>
        <translation>画像が完全に届きませんでした</translation>
    </message>
    <message>
        <source>send it again</source>
        <translation>もう一度送信してください</translation>
    </message>
</context>
<context>
    <name>ShellViews</name>
    <message>
        <source>Sending picture %1 / %2 bytes (%p%)</source>
        <translation>画像を送信中 %1 / %2 バイト（%p%）</translation>
    </message>
</context>
<context>
    <name>kovra::rendering</name>
    <message>
        <source>Black and white</source>
        <translation>白黒</translation>
    </message>
    <message>
        <source>Diffusion</source>
        <translation>誤差拡散</translation>
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
        <translation>ブルーノイズ</translation>
    </message>
</context>
<context>
    <name>kovra::shell::BoardCommands</name>
    <message>
        <source>Open a picture…</source>
        <translation>画像を開く…</translation>
    </message>
    <message>
        <source>Paste a picture</source>
        <translation>画像を貼り付け</translation>
    </message>
    <message>
        <source>Save the preview as a PNG…</source>
        <translation>プレビューを PNG で保存…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直し</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>マシンが見つからないのはなぜ？</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</source>
        <translation>画像 (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Open a picture</source>
        <translation>画像を開く</translation>
    </message>
    <message>
        <source>The clipboard holds no picture.</source>
        <translation>クリップボードに画像がありません。</translation>
    </message>
    <message>
        <source>Save the preview as it would be sent</source>
        <translation>送信される形でプレビューを保存</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG 画像 (*.png)</translation>
    </message>
    <message>
        <source>The preview could not be saved as %1.</source>
        <translation>プレビューを %1 として保存できませんでした。</translation>
    </message>
    <message>
        <source>Save the preview</source>
        <translation>プレビューの保存</translation>
    </message>
    <message>
        <source>Preview saved as %1</source>
        <translation>プレビューを %1 に保存しました</translation>
    </message>
</context>
<context>
    <name>kovra::shell::ContactSheetWindow</name>
    <message>
        <source>All renderings</source>
        <translation>すべての効果</translation>
    </message>
    <message>
        <source>Actual size (the middle of the picture, dot for dot)</source>
        <translation>実寸（画像の中央を 1 ドットずつ）</translation>
    </message>
    <message>
        <source>Click a rendering to choose it</source>
        <translation>効果をクリックして選択</translation>
    </message>
    <message>
        <source>The tuned picture</source>
        <translation>調整後の画像</translation>
    </message>
</context>
<context>
    <name>kovra::shell::DoctorFindingsWindow</name>
    <message>
        <source>Why the machine is not found</source>
        <translation>マシンが見つからない理由</translation>
    </message>
    <message>
        <source>What this computer&apos;s serial ports show, and the commands that fix what stands in the way:</source>
        <translation>このコンピューターのシリアルポートの診断結果（英語）と、問題を解決するコマンド：</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>kovra::shell::HelpController</name>
    <message>
        <source>In the main window, F1 shows why no machine is found.</source>
        <translation>メイン画面で F1 を押すと、マシンが見つからない理由を表示します。</translation>
    </message>
    <message>
        <source>Besides dragging: Ctrl+O opens a picture, Ctrl+V pastes one, Ctrl+S saves the preview, Ctrl+Z and Ctrl+Shift+Z undo and redo. Right-click the preview for the list.</source>
        <translation>ドラッグのほかに：Ctrl+O で画像を開く、Ctrl+V で貼り付け、Ctrl+S でプレビューを保存、Ctrl+Z と Ctrl+Shift+Z で元に戻す・やり直し。プレビューを右クリックすると一覧が出ます。</translation>
    </message>
    <message>
        <source>The USB-serial driver&apos;s installer is not at %1.</source>
        <translation>USB シリアルドライバーのインストーラーが %1 にありません。</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>マシンが見つからないのはなぜ？</translation>
    </message>
</context>
<context>
    <name>kovra::shell::JobEndNotice</name>
    <message>
        <source>Engraving finished in %1.</source>
        <translation>彫刻が完了しました（%1）。</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MachinePresenter</name>
    <message>
        <source> and %1 more</source>
        <translation> ほか %1 個</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied.</source>
        <translation>%1 を開けません：アクセス権がありません。</translation>
    </message>
    <message>
        <source> Join the group &quot;%1&quot; that owns the device (sudo usermod -aG %1 $USER), then log in again.</source>
        <translation>デバイスを所有するグループ「%1」に参加し（sudo usermod -aG %1 $USER）、ログインし直してください。</translation>
    </message>
    <message>
        <source>The arrow keys move the laser only while this program has the focus.</source>
        <translation>矢印キーでレーザーを動かせるのは、このプログラムにフォーカスがあるときだけです。</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MainWindow</name>
    <message>
        <source>Sending picture %p%</source>
        <translation>画像を送信中 %p%</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MissingMachineNotice</name>
    <message>
        <source>No engraver answered. Is the USB-serial driver installed? Press F1 to install it, or right-click the preview.</source>
        <translation>応答する彫刻機がありません。USB シリアルドライバーはインストール済みですか？F1 でインストール、またはプレビューを右クリックしてください。</translation>
    </message>
    <message>
        <source>No engraver answered. Press F1 (or right-click the preview) to see why.</source>
        <translation>応答する彫刻機がありません。F1 を押す（またはプレビューを右クリック）と理由を表示します。</translation>
    </message>
</context>
<context>
    <name>kovra::shell::PicturePresenter</name>
    <message>
        <source>Cannot open picture &quot;%1&quot;: %2</source>
        <translation>画像「%1」を開けません：%2</translation>
    </message>
</context>
<context>
    <name>kovra::shell::TuningStrip</name>
    <message>
        <source>Threshold</source>
        <translation>しきい値</translation>
    </message>
    <message>
        <source>Rendering</source>
        <translation>効果</translation>
    </message>
    <message>
        <source>All renderings side by side</source>
        <translation>すべての効果を並べて比較</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>明るさ</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>コントラスト</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>ガンマ</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>反転</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>リセット</translation>
    </message>
    <message>
        <source>On the command line: --effect %1</source>
        <translation>コマンドラインでは: --effect %1</translation>
    </message>
</context>
</TS>
