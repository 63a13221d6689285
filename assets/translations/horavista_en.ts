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
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Option</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>File(&amp;F)</source>
        <translation>&amp;File</translation>
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
</context>
<context>
    <name>SummerTimeTag</name>
    <message>
        <source>Summer+Time</source>
        <translation>Summer+Time</translation>
    </message>
</context>
</TS>
