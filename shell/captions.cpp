// The main window's captions, one block per interface language, in the
// order ApplyLanguage sets them. Every text is exact, spaces included: some
// captions carry leading or trailing spaces on purpose.
#include "shell/languages.h"

namespace kovra::shell {

namespace {

// English (0)
const Caption English[] = {
    {"StartButton", u"Start"},
    {"PauseButton", u"Pause"},
    {"RestartButton", u"Restart"},
    {"SendImageButton", u"Send Image To Machine"},
    {"PointRadio", u"Point Positioning"},
    {"CenterRadio", u"To image center"},
    {"BoxRadio", u"Positioning box"},
    {"UpButton", u"Up"},
    {"DownButton", u"Down"},
    {"LeftButton", u"Left"},
    {"RightButton", u"Right"},
    {"MessageGroup", u"Message"},
    {"PreviewGroup", u"Preview"},
    {"LocationModeGroup", u"Location Mode"},
    {"MovementGroup", u"Movement"},
    {"UseKeyboardCheck", u"Use keyboard"},
    {"ProgressGroup", u"Carve Rate Control"},
    {"EditGroup", u"Image Editing"},
    {"FastBackwardButton", u"      Fast      Backward"},
    {"RecarveButton", u"Recarve"},
    {"FastForwardButton", u"      Fast      Forward"},
    {"ClearButton", u"Clear "},
    {"ReloadButton", u"Reload"},
    {"ZoomOutButton", u"Zoom Out"},
    {"RotateButton", u"Rotate"},
    {"SettingButton", u"Setting"},
    {"RunTimeLabel", u"Run time:"},
    {"BurnTimeLabel", u"Burning Time:"},
    {"BreakButton", u"Break"},
    {"FontButton", u"Font"},
    {"TextRadio", u"Location"},
};

// Simplified Chinese (1)
const Caption Chinese[] = {
    {"StartButton", u"开始"},
    {"PauseButton", u"暂停"},
    {"RestartButton", u"重启"},
    {"SendImageButton", u"发送数据到雕刻机"},
    {"PointRadio", u"任意点定位"},
    {"CenterRadio", u"到图像中心"},
    {"BoxRadio", u"框定位"},
    {"UpButton", u"上"},
    {"DownButton", u"下"},
    {"LeftButton", u"左"},
    {"RightButton", u"右"},
    {"MessageGroup", u"信息"},
    {"PreviewGroup", u"预览"},
    {"LocationModeGroup", u"定位方式"},
    {"MovementGroup", u"运动控制"},
    {"UseKeyboardCheck", u"使用键盘控制"},
    {"ProgressGroup", u"雕刻进度控制"},
    {"EditGroup", u"图像编辑"},
    {"FastBackwardButton", u"快退"},
    {"RecarveButton", u"重新雕刻"},
    {"FastForwardButton", u"快进"},
    {"ClearButton", u"清除"},
    {"ReloadButton", u"重载"},
    {"ZoomOutButton", u"缩小"},
    {"RotateButton", u"旋转"},
    {"SettingButton", u"设置"},
    {"RunTimeLabel", u"所用时间："},
    {"BurnTimeLabel", u"灼烧时间："},
    {"BreakButton", u"断开"},
    {"FontButton", u"字体"},
    {"TextRadio", u"选择写出位置"},
};

// Japanese (2): the four jog buttons keep the Chinese characters
const Caption Japanese[] = {
    {"StartButton", u"スタート"},
    {"PauseButton", u"ポーズ"},
    {"RestartButton", u"リスタート"},
    {"SendImageButton", u"マシンに画像を送信"},
    {"PointRadio", u"ポイントポジショニング"},
    {"CenterRadio", u"センターへ"},
    {"BoxRadio", u"ポジショニングボックス"},
    {"UpButton", u"上"},
    {"DownButton", u"下"},
    {"LeftButton", u"左"},
    {"RightButton", u"右"},
    {"MessageGroup", u"情報"},
    {"PreviewGroup", u"プレビュー"},
    {"LocationModeGroup", u"ロケーションモード"},
    {"MovementGroup", u"移動"},
    {"UseKeyboardCheck", u"キーボードを使用"},
    {"ProgressGroup", u"彫るレート制御"},
    {"EditGroup", u"画像編集"},
    {"FastBackwardButton", u"後方ファースト"},
    {"RecarveButton", u"再彫る"},
    {"FastForwardButton", u"ファストフォワード"},
    {"ClearButton", u"クリア"},
    {"ReloadButton", u"クリアリロード"},
    {"ZoomOutButton", u"回してズームアウト"},
    {"RotateButton", u"回転"},
    {"SettingButton", u"設定"},
    {"RunTimeLabel", u"動作時間:"},
    {"BurnTimeLabel", u"バーニングタイム:"},
    {"BreakButton", u"切断"},
    {"FontButton", u"フォント"},
    {"TextRadio", u"位置決め"},
};

// French (3): the question marks are part of the text
const Caption French[] = {
    {"StartButton", u"Démarrer"},
    {"PauseButton", u"Pause"},
    {"RestartButton", u"Redémarrer"},
    {"SendImageButton", u"Envoyer l'image à la machine"},
    {"PointRadio", u"Point de positionnement"},
    {"CenterRadio", u"au centre"},
    {"BoxRadio", u"boite de positionnement"},
    {"UpButton", u"Vers le haut"},
    {"DownButton", u"Vers le bas"},
    {"LeftButton", u"à gauche"},
    {"RightButton", u"A droite"},
    {"MessageGroup", u"Informations"},
    {"PreviewGroup", u"Aper?u"},
    {"LocationModeGroup", u"Mode de localiser"},
    {"MovementGroup", u"Faire bouger la zone à sculpter "},
    {"UseKeyboardCheck", u"Utiliser le clavier"},
    {"ProgressGroup", u"Contr?ler le processus de sculpter "},
    {"EditGroup", u"édition de l'image"},
    {"FastBackwardButton", u"Reculer rapidement"},
    {"RecarveButton", u"Sculpter de nouveau "},
    {"FastForwardButton", u"Avancer rapidement"},
    {"ClearButton", u"Clair"},
    {"ReloadButton", u"Télécharger de nouveau "},
    {"ZoomOutButton", u"Zoom arrière Rotatio"},
    {"RotateButton", u"Rotation"},
    {"SettingButton", u"Réglag"},
    {"RunTimeLabel", u"Temps de fonctionnement du laser:"},
    {"BurnTimeLabel", u"Temps de combustion:"},
    {"BreakButton", u"Déconnecte"},
    {"FontButton", u"Polices"},
    {"TextRadio", u"De positionnement"},
};

// Italian (4)
const Caption Italian[] = {
    {"StartButton", u"Cominciare"},
    {"PauseButton", u"Pausa"},
    {"RestartButton", u"Ricomincia"},
    {"SendImageButton", u"Inviare immagini alla macchina"},
    {"PointRadio", u"punto di posizionamento"},
    {"CenterRadio", u"al centro"},
    {"BoxRadio", u"scatola di posizionamento"},
    {"UpButton", u"SU"},
    {"DownButton", u"Giù"},
    {"LeftButton", u"Sinistra"},
    {"RightButton", u"Destra"},
    {"MessageGroup", u"Informazioni"},
    {"PreviewGroup", u"Anteprima"},
    {"LocationModeGroup", u"Modalità di laser posizionamento"},
    {"MovementGroup", u"Movimento"},
    {"UseKeyboardCheck", u"Utilizzare la tastiera"},
    {"ProgressGroup", u"Incisione Processo Controllo"},
    {"EditGroup", u"Modificare immagini"},
    {"FastBackwardButton", u"Indietro veloce"},
    {"RecarveButton", u"Incisione di nuovo"},
    {"FastForwardButton", u"Avanti veloce"},
    {"ClearButton", u"Cancellare"},
    {"ReloadButton", u"Ricaricare"},
    {"ZoomOutButton", u"Miniaturizzare"},
    {"RotateButton", u"La rotazione"},
    {"SettingButton", u"impostazioni"},
    {"RunTimeLabel", u"tempo di esecuzione:"},
    {"BurnTimeLabel", u"Tempo di combustione:"},
    {"BreakButton", u"Disconnesso"},
    {"FontButton", u"Font"},
    {"TextRadio", u"IL posizionamento"},
};

// German (5): PointRadio keeps the English text
const Caption German[] = {
    {"StartButton", u"Beginnen"},
    {"PauseButton", u"Pausieren"},
    {"RestartButton", u"Reboot"},
    {"SendImageButton", u"Senden Images"},
    {"PointRadio", u"Point Positioning"},
    {"CenterRadio", u"Zum Zentrum"},
    {"BoxRadio", u"Positionsbox"},
    {"UpButton", u"Auf"},
    {"DownButton", u"GiWeiterù"},
    {"LeftButton", u"Links"},
    {"RightButton", u"Rechts"},
    {"MessageGroup", u"Nachricht"},
    {"PreviewGroup", u"Vorschau"},
    {"LocationModeGroup", u"Vor Dem Schnitzeno"},
    {"MovementGroup", u"Motion Control"},
    {"UseKeyboardCheck", u"Verwenden der Tastatur"},
    {"ProgressGroup", u"Fortschritt"},
    {"EditGroup", u"Bildbearbeitung"},
    {"FastBackwardButton", u"Rewind"},
    {"RecarveButton", u"Re-Gravur"},
    {"FastForwardButton", u"Fast forward"},
    {"ClearButton", u"Klar"},
    {"ReloadButton", u"Neuladen"},
    {"ZoomOutButton", u"Narrow"},
    {"RotateButton", u"Rotation"},
    {"SettingButton", u"Einrichten"},
    {"RunTimeLabel", u"Zeit :"},
    {"BurnTimeLabel", u"Brenndauer :"},
    {"BreakButton", u"Disconnect"},
    {"FontButton", u"Font"},
    {"TextRadio", u"Positionierung"},
};

} // namespace

std::span<const Caption> LanguageCaptions(int language)
{
    switch (language) {
    case 0: return English;
    case 1: return Chinese;
    case 2: return Japanese;
    case 3: return French;
    case 4: return Italian;
    case 5: return German;
    default: return {};
    }
}

} // namespace kovra::shell
