<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>AboutBox</name>
    <message>
        <source>%1のﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑ情報(&amp;S)...</source>
        <translation>&amp;System Info...</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Horavista developers</source>
        <translation>Copyright (C) 2026 Horavista developers</translation>
    </message>
    <message>
        <source>本ｿﾌﾄｳｪｱの使用によって生じたいかなる損害についても、作者は一切の責任を負いません。ご使用は利用者ご自身の責任でお願いします。</source>
        <translation>The author accepts no liability for any damage caused by the use of this software. Use it at your own risk.</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>現時点ではｼｽﾃﾑ情報を使用できません</source>
        <translation>System Info is not available at this time</translation>
    </message>
    <message>
        <source>Horavista のアイコン</source>
        <translation>Horavista icon</translation>
    </message>
</context>
<context>
    <name>ClockSettingsDialog</name>
    <message>
        <source>++ 時計設定 ++</source>
        <translation>++ Clock Settings ++</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>++ 終了します ++</source>
        <translation>++ Closes the window ++</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>++ 時計を設定します ++</source>
        <translation>++ Sets the clocks ++</translation>
    </message>
    <message>
        <source>時計 A のサマータイム</source>
        <translation>Summer time of clock A</translation>
    </message>
    <message>
        <source>時計 B のサマータイム</source>
        <translation>Summer time of clock B</translation>
    </message>
    <message>
        <source>設定ファイルに書き込みができません</source>
        <translation>Cannot write to the settings file</translation>
    </message>
    <message>
        <source>世界地図を背景に、二つの時計が選んだ都市の時刻を示します</source>
        <translation>Over a map of the world, two clocks show the time of the cities chosen</translation>
    </message>
    <message>
        <source>時計 A の都市</source>
        <translation>City of clock A</translation>
    </message>
    <message>
        <source>時計 B の都市</source>
        <translation>City of clock B</translation>
    </message>
</context>
<context>
    <name>DialTexts</name>
    <message>
        <source>時計 A</source>
        <translation>Clock A</translation>
    </message>
    <message>
        <source>時計 B</source>
        <translation>Clock B</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>M月d日</source>
        <translation>MMMM d</translation>
    </message>
    <message>
        <source>前日</source>
        <translation>the day before</translation>
    </message>
    <message>
        <source>翌日</source>
        <translation>the next day</translation>
    </message>
    <message numerus="yes">
        <source>%n 日前</source>
        <translation>
            <numerusform>%n day before</numerusform>
            <numerusform>%n days before</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 日後</source>
        <translation>
            <numerusform>%n day after</numerusform>
            <numerusform>%n days after</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>このコンピューターと同じ時刻</source>
        <translation>the same time as this computer</translation>
    </message>
    <message numerus="yes">
        <source>このコンピューターより %n 時間進み</source>
        <translation>
            <numerusform>%n hour ahead of this computer</numerusform>
            <numerusform>%n hours ahead of this computer</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>このコンピューターより %n 時間遅れ</source>
        <translation>
            <numerusform>%n hour behind this computer</numerusform>
            <numerusform>%n hours behind this computer</numerusform>
        </translation>
    </message>
    <message>
        <source>このコンピューターより %1 時間 %2 分進み</source>
        <translation>%1 h %2 min ahead of this computer</translation>
    </message>
    <message>
        <source>このコンピューターより %1 時間 %2 分遅れ</source>
        <translation>%1 h %2 min behind this computer</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 サマータイム</source>
        <translation>%1 summer time</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>ナビゲーション</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>進む</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>ホーム</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>ヘルプのページ</source>
        <translation>Help page</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>++ Pelkin Horavista ++</source>
        <translation>++ Pelkin Horavista ++</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>時計設定</source>
        <translation>Clock Settings</translation>
    </message>
    <message>
        <source>画像設定</source>
        <translation>Picture Settings</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help Topics</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About Horavista</translation>
    </message>
    <message>
        <source>File(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>時計の間の画像</source>
        <translation>Picture between the clocks</translation>
    </message>
    <message>
        <source>時計 B の都市</source>
        <translation>City of clock B</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Option</source>
        <translation>&amp;Option</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>時計のメニュー</source>
        <translation>Clock menu</translation>
    </message>
</context>
<context>
    <name>PictureDialog</name>
    <message>
        <source>++ 画像設定 ++</source>
        <translation>++ Picture Settings ++</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>++ 画像を時計に設定します ++</source>
        <translation>++ Puts the picture on the clock ++</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>++ 終了します ++</source>
        <translation>++ Closes the window ++</translation>
    </message>
    <message>
        <source>ドライブの準備ができていません。</source>
        <translation>The drive is not ready.</translation>
    </message>
    <message>
        <source>画像ファイルに書き込みができません</source>
        <translation>Cannot write to the picture file</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>フォルダー</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>画像ファイル</source>
        <translation>Picture files</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>画像なし</source>
        <translation>No picture</translation>
    </message>
    <message>
        <source>時計の画像</source>
        <translation>The clock picture</translation>
    </message>
</context>
<context>
    <name>SummerTimeTag</name>
    <message>
        <source>Summer+Time</source>
        <translation>Summer+Time</translation>
    </message>
</context>
</TS>
