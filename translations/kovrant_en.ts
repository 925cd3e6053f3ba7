<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>DesktopDialogs</name>
    <message>
        <source>フォルダを選択してください</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>同じ拡張子は無効です。</source>
        <translation>The same extension cannot be used for both.</translation>
    </message>
</context>
<context>
    <name>FormConvert</name>
    <message>
        <source>変換するファイルを開く</source>
        <translation>Open files to convert</translation>
    </message>
    <message>
        <source>LRC</source>
        <translation>LRC</translation>
    </message>
    <message>
        <source>拡張LRC（単語ごとの時刻）</source>
        <translation>Enhanced LRC (word timing)</translation>
    </message>
    <message>
        <source>ASS字幕（カラオケ）</source>
        <translation>ASS subtitles (karaoke)</translation>
    </message>
    <message>
        <source>WebVTT</source>
        <translation>WebVTT</translation>
    </message>
    <message>
        <source>タイムタグ付き歌詞</source>
        <translation>Time-tagged lyrics</translation>
    </message>
    <message>
        <source>形式を変換</source>
        <translation>Convert Format</translation>
    </message>
    <message>
        <source>変換するファイルをＤ&amp;&amp;Ｄ</source>
        <translation>Drop files to convert here</translation>
    </message>
    <message>
        <source>変換先の形式：</source>
        <translation>Convert to:</translation>
    </message>
    <message>
        <source> ミリ秒</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>時刻をずらす：</source>
        <translation>Shift times by:</translation>
    </message>
    <message>
        <source>すべての時刻に足すミリ秒数（負の数で早める）</source>
        <translation>Milliseconds added to every time (a negative number makes them earlier)</translation>
    </message>
    <message>
        <source>変換するファイルと同じ</source>
        <translation>Same as the converted file</translation>
    </message>
</context>
<context>
    <name>FormMain</name>
    <message>
        <source>連続分割</source>
        <translation>Batch Divide</translation>
    </message>
    <message>
        <source>結合</source>
        <translation>Combine</translation>
    </message>
    <message>
        <source>連続結合</source>
        <translation>Batch Combine</translation>
    </message>
    <message>
        <source>拡張子設定</source>
        <translation>Extension Settings</translation>
    </message>
    <message>
        <source>拡張子変換ツール</source>
        <translation>Extension Converter</translation>
    </message>
    <message>
        <source>..</source>
        <translation>..</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Option</translation>
    </message>
    <message>
        <source>タイムタグ付き歌詞ファイルをＤ&amp;&amp;Ｄ</source>
        <translation>Drop time-tagged lyrics files here</translation>
    </message>
    <message>
        <source>タイムタグデータファイルをＤ&amp;&amp;Ｄ</source>
        <translation>Drop time-tag data files here</translation>
    </message>
    <message>
        <source>タイムタグデータファイル：</source>
        <translation>Time-tag data file:</translation>
    </message>
    <message>
        <source>素材ファイル：</source>
        <translation>Source file:</translation>
    </message>
    <message>
        <source>出力フォルダ：</source>
        <translation>Output folder:</translation>
    </message>
    <message>
        <source>TTDと同じ</source>
        <translation>Same as TTD</translation>
    </message>
    <message>
        <source>タイムタグ付き歌詞：</source>
        <translation>Time-tagged lyrics:</translation>
    </message>
    <message>
        <source>素材歌詞：</source>
        <translation>Source lyrics:</translation>
    </message>
    <message>
        <source>タイムタグデータ：</source>
        <translation>Time-tag data:</translation>
    </message>
    <message>
        <source>新拡張子：</source>
        <translation>New extension:</translation>
    </message>
    <message>
        <source>拡張子変換したいファイルをＤ&amp;&amp;Ｄ</source>
        <translation>Drop files here to change their extension</translation>
    </message>
    <message>
        <source>popup</source>
        <translation>popup</translation>
    </message>
    <message>
        <source>常に表示</source>
        <translation>Always on Top</translation>
    </message>
    <message>
        <source>確認せずに上書きする</source>
        <translation>Overwrite Without Asking</translation>
    </message>
    <message>
        <source>CRCチェックを省略する</source>
        <translation>Skip CRC Check</translation>
    </message>
    <message>
        <source>@TimeRatio強制変換</source>
        <translation>Force @TimeRatio</translation>
    </message>
    <message>
        <source>しない</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>@TimeRatio=1</source>
        <translation>@TimeRatio=1</translation>
    </message>
    <message>
        <source>@TimeRatio=0.9953125</source>
        <translation>@TimeRatio=0.9953125</translation>
    </message>
    <message>
        <source>Kovrantのヘルプ</source>
        <translation>Kovrant Help</translation>
    </message>
    <message>
        <source>Kovrantについて</source>
        <translation>About Kovrant</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Kovrant</source>
        <translation>Kovrant</translation>
    </message>
    <message>
        <source>タイムタグデータファイルを開く</source>
        <translation>Open Time-Tag Data File</translation>
    </message>
    <message>
        <source>素材ファイルを開く</source>
        <translation>Open Source File</translation>
    </message>
    <message>
        <source>タイムタグ付き歌詞ファイルを開く</source>
        <translation>Open Time-Tagged Lyrics Files</translation>
    </message>
    <message>
        <source>拡張子を変換するファイルを開く</source>
        <translation>Open Files to Change Their Extension</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Enter・Space・クリックでファイルを選ぶ、%1で貼り付ける</source>
        <translation>Enter, Space or a click chooses files; %1 pastes them</translation>
    </message>
    <message>
        <source>モード</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>%1の画面に切り替える</source>
        <translation>Show the %1 panel</translation>
    </message>
    <message>
        <source>タイムタグデータファイルを選ぶ</source>
        <translation>Choose the time-tag data file</translation>
    </message>
    <message>
        <source>素材ファイルを選ぶ</source>
        <translation>Choose the source file</translation>
    </message>
    <message>
        <source>出力フォルダを選ぶ</source>
        <translation>Choose the output folder</translation>
    </message>
    <message>
        <source>タイムタグデータと素材ファイルを結合して出力フォルダに書き込む</source>
        <translation>Combine the time-tag data with the source file and write the result to the output folder</translation>
    </message>
    <message>
        <source>上書き確認なし</source>
        <translation>Overwrite unasked</translation>
    </message>
    <message>
        <source>%1件を処理しました</source>
        <translation>%1 processed</translation>
    </message>
    <message>
        <source>%1件を処理、%2件はエラー</source>
        <translation>%1 processed, %2 with errors</translation>
    </message>
    <message>
        <source>、%1件は上書きせず</source>
        <translation>, %1 not replaced</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>設定を保存できませんでした</source>
        <translation>The settings could not be saved</translation>
    </message>
    <message>
        <source>上書きしませんでした</source>
        <translation>Not replaced</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1の出力%2件</source>
        <translation>%2 in %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>何も書き込みませんでした</source>
        <translation>Nothing was written</translation>
    </message>
    <message>
        <source>%1 を書き込みました</source>
        <translation>Wrote %1</translation>
    </message>
    <message>
        <source>ファイルを受け取れませんでした</source>
        <translation>The files were not taken</translation>
    </message>
    <message>
        <source>CRC省略</source>
        <translation>No CRC</translation>
    </message>
    <message>
        <source>形式を変換...</source>
        <translation>Convert format...</translation>
    </message>
    <message>
        <source>タイミングを引き継ぐ...</source>
        <translation>Retime edited lyrics...</translation>
    </message>
    <message>
        <source>出力がこのファイルを置き換えてしまうため、何も書き込みませんでした。出力フォルダを変えてください。</source>
        <translation>An output would replace this file, so nothing was written. Choose another output folder.</translation>
    </message>
</context>
<context>
    <name>FormRetime</name>
    <message>
        <source>タイミングを引き継ぐ</source>
        <translation>Retime Edited Lyrics</translation>
    </message>
    <message>
        <source>元の歌詞（タイムタグ付き歌詞またはタイムタグデータ）：</source>
        <translation>Old lyrics (time-tagged lyrics or time-tag data):</translation>
    </message>
    <message>
        <source>編集した歌詞（タグなし）：</source>
        <translation>Edited lyrics (without tags):</translation>
    </message>
    <message>
        <source>元の歌詞のファイルを選ぶ</source>
        <translation>Choose the old lyrics file</translation>
    </message>
    <message>
        <source>編集した歌詞のファイルを選ぶ</source>
        <translation>Choose the edited lyrics file</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>元の歌詞のタイミングを編集した歌詞に移して書き込む</source>
        <translation>Carry the timing of the old lyrics to the edited lyrics and write the result</translation>
    </message>
    <message>
        <source>編集した歌詞と同じ</source>
        <translation>Same as the edited lyrics</translation>
    </message>
</context>
<context>
    <name>JobText</name>
    <message>
        <source>Error:</source>
        <translation>Error:</translation>
    </message>
    <message>
        <source>上書きしますか?</source>
        <translation>Overwrite?</translation>
    </message>
    <message>
        <source>フォルダが見つかりません</source>
        <translation>Folder not found</translation>
    </message>
    <message>
        <source>出力フォルダを指定してください。</source>
        <translation>Please choose an output folder.</translation>
    </message>
    <message>
        <source>ファイルが読みとれません</source>
        <translation>Cannot read the file</translation>
    </message>
    <message>
        <source>全て正常に処理できました。</source>
        <translation>All files were processed successfully.</translation>
    </message>
    <message>
        <source>途中でエラーがありました。</source>
        <translation>There were errors along the way.</translation>
    </message>
    <message>
        <source>処理対象ファイルがありませんでした。<byte value="xd"/>
拡張子設定を再確認してください。</source>
        <translation>No files to process.<byte value="xd"/>
Please check the extension settings.</translation>
    </message>
    <message>
        <source>新拡張子が指定されていません。</source>
        <translation>No new extension has been given.</translation>
    </message>
    <message>
        <source>BOMと末尾のEOF文字を取り除く</source>
        <translation>a byte-order mark and an end-of-file character are removed</translation>
    </message>
    <message>
        <source>全角英数字を半角にする</source>
        <translation>full-width letters, digits and spaces are made half-width</translation>
    </message>
    <message>
        <source>半角英数字を全角にする</source>
        <translation>half-width letters, digits and spaces are made full-width</translation>
    </message>
    <message>
        <source>行末の空白を取り除く</source>
        <translation>spaces at the ends of lines are removed</translation>
    </message>
    <message>
        <source>続く空行を1行にする</source>
        <translation>runs of empty lines are made one</translation>
    </message>
    <message>
        <source>素材歌詞は次の修正で一致します：%1</source>
        <translation>the source lyrics match once %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation> and </translation>
    </message>
    <message>
        <source>修正した素材歌詞で結合しますか?</source>
        <translation>Combine with the corrected source lyrics?</translation>
    </message>
    <message>
        <source>タイムタグデータは%1行、素材歌詞は%2行です</source>
        <translation>the timing data needs %1 lines, the source lyrics have %2</translation>
    </message>
    <message>
        <source>%1行目：%2文字ですが、タイムタグデータは%3文字目の後にタグを置きます</source>
        <translation>line %1: %2 characters, the timing data places a tag after character %3</translation>
    </message>
    <message>
        <source>オフセット%1のバイトが%2として正しくありません</source>
        <translation>the byte at offset %1 is not valid %2</translation>
    </message>
    <message>
        <source>素材歌詞が%1文字を超えるため、修正で一致するかは調べていません</source>
        <translation>the source lyrics are longer than %1 characters, so no repair was looked for</translation>
    </message>
    <message>
        <source>新しい歌詞の%2行目、%3文字目のタグ%1を取り除きました</source>
        <translation>removed tag %1 at line %2, column %3</translation>
    </message>
    <message>
        <source>元の歌詞の%2行目、%3文字目のタグ%1を引き継げませんでした</source>
        <translation>dropped %1 at old line %2, column %3</translation>
    </message>
    <message>
        <source>%1行目にタイミングのない文字があります：%2</source>
        <translation>untimed text at line %1: %2</translation>
    </message>
    <message>
        <source>引き継いだタググループ%1、引き継げなかったタググループ%2、タイミングのない箇所%3、取り除いたタグ%4</source>
        <translation>tag groups carried: %1, dropped: %2; untimed texts: %3; tags removed: %4</translation>
    </message>
    <message>
        <source>行数は一致し、どのタグも行の長さに収まります。文字が変更されています。</source>
        <translation>The lines agree in number and every tag fits its line: characters have been changed.</translation>
    </message>
    <message>
        <source>編集した歌詞には「タイミングを引き継ぐ...」（kovrant-cli retime）でタイミングを移せます。</source>
        <translation>Edited lyrics can take over the timing with Retime edited lyrics... (kovrant-cli retime).</translation>
    </message>
</context>
<context>
    <name>ResultCode</name>
    <message>
        <source>タイムタグ付き歌詞ファイルが不正です</source>
        <translation>The time-tagged lyrics file is invalid</translation>
    </message>
    <message>
        <source>有効なタイムタグが付いていません</source>
        <translation>No valid time tags found</translation>
    </message>
    <message>
        <source>CRCの取得に失敗しました</source>
        <translation>Could not compute the CRC</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>File is too large</translation>
    </message>
    <message>
        <source>読み込みに失敗しました</source>
        <translation>Could not read the file</translation>
    </message>
    <message>
        <source>ファイルが空です</source>
        <translation>File is empty</translation>
    </message>
    <message>
        <source>保存に失敗しました</source>
        <translation>Could not save the file</translation>
    </message>
    <message>
        <source>ファイル名の文字コードが不正です</source>
        <translation>The file name is not valid UTF-8</translation>
    </message>
    <message>
        <source>この処理ですでに出力したファイルです</source>
        <translation>This file was already written in this run</translation>
    </message>
    <message>
        <source>ファイル形式が不正です</source>
        <translation>Invalid file format</translation>
    </message>
    <message>
        <source>CRCが一致しませんでした</source>
        <translation>CRC did not match</translation>
    </message>
    <message>
        <source>すでにその名前のファイルが存在します</source>
        <translation>A file with that name already exists</translation>
    </message>
    <message>
        <source>リネームできませんでした</source>
        <translation>Could not rename the file</translation>
    </message>
    <message>
        <source>ファイル名が長すぎます</source>
        <translation>The file name is too long</translation>
    </message>
    <message>
        <source>テキストの違いが大きすぎてタイミングを引き継げません</source>
        <translation>The texts are too different to carry the timing</translation>
    </message>
    <message>
        <source>元の歌詞に有効なタイムタグがありません</source>
        <translation>The old lyrics have no valid time tag</translation>
    </message>
    <message>
        <source>新しい歌詞にタイミングを付ける文字がありません</source>
        <translation>The new lyrics have no text to time</translation>
    </message>
    <message>
        <source>変換するタイムタグがありません</source>
        <translation>No time tag to convert</translation>
    </message>
    <message>
        <source>LRC・ASS・WebVTTのどの形式でもありません</source>
        <translation>The file is no LRC, ASS or WebVTT file</translation>
    </message>
    <message>
        <source>ASSファイルが壊れています</source>
        <translation>The ASS file is broken</translation>
    </message>
    <message>
        <source>99:59.99を超える時刻があります</source>
        <translation>A time is beyond 99:59.99</translation>
    </message>
    <message>
        <source>タイムタグ付き歌詞はタイムタグに変換できません</source>
        <translation>Time-tagged lyrics cannot be converted to time tags</translation>
    </message>
    <message>
        <source>時刻の付いた行がありません</source>
        <translation>No line has a time</translation>
    </message>
    <message>
        <source>文字コードが正しくありません</source>
        <translation>The text is not valid in its encoding</translation>
    </message>
    <message>
        <source>素材歌詞はCP932としてもUTF-8としても読め、タグの位置が異なります</source>
        <translation>The source lyrics read as both CP932 and UTF-8, with the tags in different places</translation>
    </message>
    <message>
        <source>引き継げないタイミングがあるため保存しませんでした</source>
        <translation>Not saved, as some of the timing could not be carried</translation>
    </message>
</context>
<context>
    <name>ToolWindow</name>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>kovrant::FormAbout</name>
    <message>
        <source>Kovrantについて</source>
        <translation>About Kovrant</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>タイムタグ付き歌詞の分割と結合のために</source>
        <translation>Dividing and combining time-tagged lyrics</translation>
    </message>
    <message>
        <source>Kovrant</source>
        <translation>Kovrant</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
