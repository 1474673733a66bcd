<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>JobProgressView</name>
    <message>
        <source>%1 dots</source>
        <translation>%1 个点</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>约 %1</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>剩余 %1</translation>
    </message>
    <message>
        <source>estimating…</source>
        <translation>正在估算…</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>finished in %1</source>
        <translation>用时 %1 完成</translation>
    </message>
    <message>
        <source>connection broken</source>
        <translation>连接已断开</translation>
    </message>
    <message>
        <source>the picture did not arrive whole</source>
        <translation>图像未完整送达</translation>
    </message>
    <message>
        <source>send it again</source>
        <translation>请重新发送</translation>
    </message>
</context>
<context>
    <name>ShellViews</name>
    <message>
        <source>Sending picture %1 / %2 bytes (%p%)</source>
        <translation>正在发送图像 %1 / %2 字节（%p%）</translation>
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
        <translation>误差扩散</translation>
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
        <translation>蓝噪声</translation>
    </message>
</context>
<context>
    <name>kovra::shell::BoardCommands</name>
    <message>
        <source>Open a picture…</source>
        <translation>打开图片…</translation>
    </message>
    <message>
        <source>Paste a picture</source>
        <translation>粘贴图片</translation>
    </message>
    <message>
        <source>Save the preview as a PNG…</source>
        <translation>将预览保存为 PNG…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>为什么找不到雕刻机？</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</source>
        <translation>图片 (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <source>Open a picture</source>
        <translation>打开图片</translation>
    </message>
    <message>
        <source>The clipboard holds no picture.</source>
        <translation>剪贴板中没有图片。</translation>
    </message>
    <message>
        <source>Save the preview as it would be sent</source>
        <translation>按发送时的样子保存预览</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG 图片 (*.png)</translation>
    </message>
    <message>
        <source>The preview could not be saved as %1.</source>
        <translation>无法将预览保存为 %1。</translation>
    </message>
    <message>
        <source>Save the preview</source>
        <translation>保存预览</translation>
    </message>
    <message>
        <source>Preview saved as %1</source>
        <translation>预览已保存为 %1</translation>
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
        <translation>实际大小（图片中部，逐点显示）</translation>
    </message>
    <message>
        <source>Click a rendering to choose it</source>
        <translation>单击一个效果即可选用</translation>
    </message>
    <message>
        <source>The tuned picture</source>
        <translation>调整后的图片</translation>
    </message>
</context>
<context>
    <name>kovra::shell::DoctorFindingsWindow</name>
    <message>
        <source>Why the machine is not found</source>
        <translation>为什么找不到雕刻机</translation>
    </message>
    <message>
        <source>What this computer&apos;s serial ports show, and the commands that fix what stands in the way:</source>
        <translation>本机串口的检查结果（报告为英文），以及解决问题的命令：</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>kovra::shell::HelpController</name>
    <message>
        <source>In the main window, F1 shows why no machine is found.</source>
        <translation>在主窗口中按 F1 可查看找不到雕刻机的原因。</translation>
    </message>
    <message>
        <source>Besides dragging: Ctrl+O opens a picture, Ctrl+V pastes one, Ctrl+S saves the preview, Ctrl+Z and Ctrl+Shift+Z undo and redo. Right-click the preview for the list.</source>
        <translation>除了拖放：Ctrl+O 打开图片，Ctrl+V 粘贴图片，Ctrl+S 保存预览，Ctrl+Z 和 Ctrl+Shift+Z 撤销与重做。在预览上单击右键可查看全部。</translation>
    </message>
    <message>
        <source>The USB-serial driver&apos;s installer is not at %1.</source>
        <translation>在 %1 找不到 USB 串口驱动的安装程序。</translation>
    </message>
    <message>
        <source>Why is no machine found?</source>
        <translation>为什么找不到雕刻机？</translation>
    </message>
</context>
<context>
    <name>kovra::shell::JobEndNotice</name>
    <message>
        <source>Engraving finished in %1.</source>
        <translation>雕刻完成，用时 %1。</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MachinePresenter</name>
    <message>
        <source> and %1 more</source>
        <translation> 等另外 %1 个</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied.</source>
        <translation>无法打开 %1：权限不足。</translation>
    </message>
    <message>
        <source> Join the group &quot;%1&quot; that owns the device (sudo usermod -aG %1 $USER), then log in again.</source>
        <translation>请加入拥有该设备的用户组“%1”（sudo usermod -aG %1 $USER），然后重新登录。</translation>
    </message>
    <message>
        <source>The arrow keys move the laser only while this program has the focus.</source>
        <translation>只有本程序处于焦点时，方向键才能移动激光头。</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MainWindow</name>
    <message>
        <source>Sending picture %p%</source>
        <translation>正在发送图像 %p%</translation>
    </message>
</context>
<context>
    <name>kovra::shell::MissingMachineNotice</name>
    <message>
        <source>No engraver answered. Is the USB-serial driver installed? Press F1 to install it, or right-click the preview.</source>
        <translation>没有雕刻机应答。USB 串口驱动装好了吗？按 F1 安装驱动，或在预览上单击右键。</translation>
    </message>
    <message>
        <source>No engraver answered. Press F1 (or right-click the preview) to see why.</source>
        <translation>没有雕刻机应答。按 F1（或在预览上单击右键）查看原因。</translation>
    </message>
</context>
<context>
    <name>kovra::shell::PicturePresenter</name>
    <message>
        <source>Cannot open picture &quot;%1&quot;: %2</source>
        <translation>无法打开图片“%1”：%2</translation>
    </message>
</context>
<context>
    <name>kovra::shell::TuningStrip</name>
    <message>
        <source>Threshold</source>
        <translation>阈值</translation>
    </message>
    <message>
        <source>Rendering</source>
        <translation>效果</translation>
    </message>
    <message>
        <source>All renderings side by side</source>
        <translation>并排比较全部效果</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>对比度</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>伽马</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>反相</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>On the command line: --effect %1</source>
        <translation>命令行中：--effect %1</translation>
    </message>
</context>
</TS>
