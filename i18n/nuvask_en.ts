<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutBox</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source> バージョン情報</source>
        <translation> - About</translation>
    </message>
    <message>
        <source>アイコン</source>
        <translation>Icon</translation>
    </message>
    <message>
        <source>よろしくね☆</source>
        <translation>Thanks for using it!</translation>
    </message>
    <message>
        <source>バージョン番号</source>
        <translation>Version number</translation>
    </message>
    <message>
        <source>制作者</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>ホームページへアクセスする</source>
        <translation>Visit the home page</translation>
    </message>
    <message>
        <source>by KELDOSOFT 宛メール</source>
        <translation>Mail to KELDOSOFT</translation>
    </message>
    <message>
        <source>製作者へ、メールを出す</source>
        <translation>Send mail to the author</translation>
    </message>
    <message>
        <source>Ｏ Ｋ</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>バージョン情報の終了</source>
        <translation>Close this box</translation>
    </message>
    <message>
        <source>ホームページ
</source>
        <translation>Home page
</translation>
    </message>
    <message>
        <source>
へアクセスしますか？</source>
        <translation>
Open it in your browser?</translation>
    </message>
    <message>
        <source>インターネットアクセスツールが、設定されていません・・・</source>
        <translation>No web browser is set up...</translation>
    </message>
    <message>
        <source>インターネットメールソフトが設定されていません・・・</source>
        <translation>No mail program is set up...</translation>
    </message>
</context>
<context>
    <name>FolderBrowser</name>
    <message>
        <source> フォルダーの参照</source>
        <translation> Browse for Folder</translation>
    </message>
    <message>
        <source>フォルダーの選択</source>
        <translation>Select Folder</translation>
    </message>
    <message>
        <source>ドライブの選択</source>
        <translation>Select a drive</translation>
    </message>
    <message>
        <source>一個前のフォルダー</source>
        <translation>Previous folder</translation>
    </message>
    <message>
        <source>一つ上階層フォフォルダー</source>
        <translation>Up one level</translation>
    </message>
    <message>
        <source>新規作成ルダー</source>
        <translation>New folder</translation>
    </message>
    <message>
        <source>フォルダー削除</source>
        <translation>Delete folder</translation>
    </message>
    <message>
        <source>ファイルフィルター</source>
        <translation>File filter</translation>
    </message>
    <message>
        <source>ツリー構造のフォルダー</source>
        <translation>Folder tree</translation>
    </message>
    <message>
        <source>普通のフォルダー</source>
        <translation>Folders in this folder</translation>
    </message>
    <message>
        <source>ファイル一覧</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>設定フォルダー名</source>
        <translation>Chosen folder</translation>
    </message>
    <message>
        <source>設定ファイル名</source>
        <translation>Chosen file name</translation>
    </message>
    <message>
        <source>HF</source>
        <translation>HF</translation>
    </message>
    <message>
        <source>BF</source>
        <translation>BF</translation>
    </message>
    <message>
        <source>NF</source>
        <translation>NF</translation>
    </message>
    <message>
        <source>DF</source>
        <translation>DF</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>フォルダー</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>ｺ</source>
        <translation> </translation>
    </message>
    <message>
        <source>---ｺ</source>
        <translation>--- </translation>
    </message>
    <message>
        <source>&#x3000;フォルダー</source>
        <translation>folders</translation>
    </message>
    <message>
        <source>&#x3000;ツリーフォルダー</source>
        <translation>tree folders</translation>
    </message>
    <message>
        <source>&#x3000;ファイル名</source>
        <translation>files</translation>
    </message>
    <message>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>日付</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Attr.</translation>
    </message>
    <message>
        <source>新規作成フォルダー名を入力して下さい☆</source>
        <translation>Name of the new folder</translation>
    </message>
    <message>
        <source>ドライブ・エラー発生
</source>
        <translation>Drive error
</translation>
    </message>
    <message>
        <source>元のドライブに戻します</source>
        <translation>Going back to the previous drive.</translation>
    </message>
    <message>
        <source>フォルダー・エラー発生
</source>
        <translation>Folder error
</translation>
    </message>
    <message>
        <source>エラーを回避してみます。</source>
        <translation>Trying to recover.</translation>
    </message>
    <message>
        <source>別のフォルダーを選択して下さい☆</source>
        <translation>Please choose another folder.</translation>
    </message>
    <message>
        <source>ファイルリスト・エラー発生
</source>
        <translation>File list error
</translation>
    </message>
    <message>
        <source>別のドライブか、フォルダーを選択してみて下さい</source>
        <translation>Please try another drive or folder.</translation>
    </message>
    <message>
        <source>エラー回避に失敗しました
</source>
        <translation>Could not recover from the error.
</translation>
    </message>
    <message>
        <source>フォルダーチェンジ・エラー</source>
        <translation>Folder change error</translation>
    </message>
    <message>
        <source>フォルダーの作成に失敗しました・・・</source>
        <translation>Could not create the folder...</translation>
    </message>
    <message>
        <source>このフォルダーを削除します☆</source>
        <translation>Delete this folder?</translation>
    </message>
    <message>
        <source>フォルダーの削除に失敗しました・・・</source>
        <translation>Could not delete the folder...</translation>
    </message>
</context>
<context>
    <name>DesktopShortcuts</name>
    <message>
        <source>ｱｲｺﾝ:スタートアップグループが不明ですので アイコン登録出来ません</source>
        <translation>The autostart folder is unknown: no autostart launcher was added.</translation>
    </message>
    <message>
        <source>デスクトップには、既に登録されています☆☆☆</source>
        <translation>The icon is already on the desktop.</translation>
    </message>
</context>
<context>
    <name>HelpMenu</name>
    <message>
        <source>バージョン番号削除：
インストールソフトを再起動させたい時に使います。
なお、バージョンが違う時は、インストールソフトが自動起動するので、
バージョン番号を削除する必要無しです。
バージョン番号を削除してもよろしいですか？？？</source>
        <translation>Clear version number:
Use this to make the setup window appear again.
A different version starts the setup window by itself,
so there is no need to clear the number for that.
Clear the version number now?</translation>
    </message>
    <message>
        <source>バージョン番号削除を中止しました・・・</source>
        <translation>The version number was not cleared.</translation>
    </message>
    <message>
        <source>お問い合わせは、下記へどうぞ☆☆☆</source>
        <translation>For questions, please contact:</translation>
    </message>
    <message>
        <source>ホームページ：</source>
        <translation>Home page: </translation>
    </message>
    <message>
        <source>電子メール宛先：</source>
        <translation>Mail: </translation>
    </message>
    <message>
        <source>自動録音ボリューム調整ソフト☆☆☆</source>
        <translation>Automatic recording volume</translation>
    </message>
    <message>
        <source>ピークホールド／メーター対応☆☆☆</source>
        <translation>With peak hold and meters</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>nuvASK ヘルプ</source>
        <translation>nuvASK Help</translation>
    </message>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>キーワード</source>
        <translation>Keywords</translation>
    </message>
    <message>
        <source>調べたい言葉を入力してください：</source>
        <translation>Type the word you are looking for:</translation>
    </message>
    <message>
        <source>表示(&amp;D)</source>
        <translation>&amp;Show</translation>
    </message>
    <message>
        <source>戻る(&amp;B)</source>
        <translation>&amp;Back</translation>
    </message>
    <message>
        <source>進む(&amp;F)</source>
        <translation>&amp;Forward</translation>
    </message>
    <message>
        <source>ヘルプの使い方</source>
        <translation>How to Use Help</translation>
    </message>
    <message>
        <source>ヘルプファイルが見つかりません：
</source>
        <translation>Help file not found:
</translation>
    </message>
    <message>
        <source>ヘルプファイルを読めません：
</source>
        <translation>Cannot read the help file:
</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>ボリューム表示 ON／OFF</source>
        <translation>Volume strips on/off</translation>
    </message>
    <message>
        <source>１番上に表示 ON／OFF</source>
        <translation>Always on top on/off</translation>
    </message>
    <message>
        <source>レベルメーター表示間隔</source>
        <translation>Level meter refresh interval</translation>
    </message>
    <message>
        <source>左上</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>カットレベル 編集</source>
        <translation>Edit the cut level</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>カットレベル 編集終了</source>
        <translation>Finish editing the cut level</translation>
    </message>
    <message>
        <source>ｵﾌﾟｼｮﾝ(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>メーターON メーター付音源ボード専用</source>
        <translation>Meters ON (boards with meters only)</translation>
    </message>
    <message>
        <source>Auto_RecV メーター付音源ボード専用</source>
        <translation>Auto_RecV (boards with meters only)</translation>
    </message>
    <message>
        <source>Guard_RecV 録音ボリュームを他のソフトに変えさせない</source>
        <translation>Guard_RecV Keep other programs from changing the recording volume</translation>
    </message>
    <message>
        <source>録音レベルの履歴...(&amp;R)</source>
        <translation>&amp;Recording Level History...</translation>
    </message>
    <message>
        <source>バックカラーを標準色とする</source>
        <translation>Standard Background Color</translation>
    </message>
    <message>
        <source>ＫＥＬＤＯ色</source>
        <translation>KELDO Colors</translation>
    </message>
    <message>
        <source>アイコンを、スタートアップにも、登録する (&amp;S)</source>
        <translation>Add Icon to &amp;Startup</translation>
    </message>
    <message>
        <source>アイコンを、スタートアップから、削除する (&amp;S)</source>
        <translation>Remove Icon from &amp;Startup</translation>
    </message>
    <message>
        <source>アイコンを、デスクトップにも、登録する (&amp;D)</source>
        <translation>Add Icon to &amp;Desktop</translation>
    </message>
    <message>
        <source>アイコンを、デスクトップから、削除する (&amp;D)</source>
        <translation>Remove Icon from &amp;Desktop</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ヘルプ...(&amp;H)</source>
        <translation>&amp;Help Contents...</translation>
    </message>
    <message>
        <source>キーワードで検索...(&amp;K)</source>
        <translation>Search by &amp;Keyword...</translation>
    </message>
    <message>
        <source>ミニヘルプＯＮ(&amp;M)</source>
        <translation>&amp;Mini Help ON</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ番号削除...(&amp;C)</source>
        <translation>&amp;Clear Version Number...</translation>
    </message>
    <message>
        <source>問い合わせ先...(&amp;Q)</source>
        <translation>Co&amp;ntact...</translation>
    </message>
    <message>
        <source>バージョン情報...(&amp;V)</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>ヘルプの使い方</source>
        <translation>How to Use Help</translation>
    </message>
    <message>
        <source>エラー発生の為、強制終了・・・MON</source>
        <translation>An error occurred; quitting...MON</translation>
    </message>
    <message>
        <source>エラー発生の為、強制終了・・・V</source>
        <translation>An error occurred; quitting...V</translation>
    </message>
    <message>
        <source>タスクトレイに格納する</source>
        <translation>Hide in the system tray</translation>
    </message>
    <message>
        <source>常駐解除（元の画面に戻る）</source>
        <translation>Restore Window</translation>
    </message>
    <message>
        <source>録音レベルの履歴...</source>
        <translation>Recording Level History...</translation>
    </message>
    <message>
        <source>タスクトレイ（通知領域）が見つからない為、格納できません。</source>
        <translation>No system tray (notification area) was found: the window cannot be hidden there.</translation>
    </message>
</context>
<context>
    <name>LevelHistory</name>
    <message>
        <source>自動ダウン</source>
        <translation>Auto-lowered</translation>
    </message>
    <message>
        <source>自動ダウン(Auto_RecV)</source>
        <translation>Auto-lowered (Auto_RecV)</translation>
    </message>
    <message>
        <source>自動ダウン失敗</source>
        <translation>Lowering failed</translation>
    </message>
    <message>
        <source>外部変更</source>
        <translation>Changed outside</translation>
    </message>
    <message>
        <source>ガード復元</source>
        <translation>Guard restored</translation>
    </message>
    <message>
        <source>モニターON</source>
        <translation>Monitor on</translation>
    </message>
    <message>
        <source>モニターOFF</source>
        <translation>Monitor off</translation>
    </message>
    <message>
        <source>時刻</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>ピーク</source>
        <translation>Peak</translation>
    </message>
    <message>
        <source>カットレベル</source>
        <translation>Cut level</translation>
    </message>
    <message>
        <source>イベント</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>ボリューム前</source>
        <translation>Volume before</translation>
    </message>
    <message>
        <source>ボリューム後</source>
        <translation>Volume after</translation>
    </message>
    <message>
        <source>回数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>最後の時刻</source>
        <translation>Last time</translation>
    </message>
    <message>
        <source>記録なし</source>
        <translation>No record</translation>
    </message>
</context>
<context>
    <name>LevelHistoryWindow</name>
    <message>
        <source>録音レベルの履歴</source>
        <translation>Recording Level History</translation>
    </message>
    <message>
        <source>1分</source>
        <translation>1m</translation>
    </message>
    <message>
        <source>10分</source>
        <translation>10m</translation>
    </message>
    <message>
        <source>60分</source>
        <translation>60m</translation>
    </message>
    <message>
        <source>表示する時間の長さ</source>
        <translation>Time span shown</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>再開</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>グラフを止めて読む／再開</source>
        <translation>Stop the graph to read it / resume</translation>
    </message>
    <message>
        <source>CSV保存</source>
        <translation>Save CSV</translation>
    </message>
    <message>
        <source>表示中の範囲を、CSVファイルに保存する</source>
        <translation>Save the shown range to a CSV file</translation>
    </message>
    <message>
        <source>PNG保存</source>
        <translation>Save PNG</translation>
    </message>
    <message>
        <source>表示中のグラフを、PNG画像に保存する</source>
        <translation>Save the shown graph as a PNG image</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>履歴の画面を閉じる</source>
        <translation>Close the history window</translation>
    </message>
    <message>
        <source>マウスを乗せると、その時刻の値を表示します</source>
        <translation>Point at the graph to read the values of that moment</translation>
    </message>
    <message>
        <source>ピーク</source>
        <translation>Peak</translation>
    </message>
    <message>
        <source>カットレベル</source>
        <translation>Cut level</translation>
    </message>
    <message>
        <source>モニターOFF</source>
        <translation>Monitor off</translation>
    </message>
    <message>
        <source>一時停止中</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>→</source>
        <translation>→</translation>
    </message>
    <message>
        <source>回</source>
        <translation>x</translation>
    </message>
    <message>
        <source>%1〜%2</source>
        <translation>%1-%2</translation>
    </message>
    <message>
        <source>-∞</source>
        <translation>-∞</translation>
    </message>
    <message>
        <source>CSV保存先</source>
        <translation>Save CSV: </translation>
    </message>
    <message>
        <source>PNG保存先</source>
        <translation>Save PNG: </translation>
    </message>
    <message>
        <source>保存しました・・・</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>保存に失敗しました・・・</source>
        <translation>Saving failed...</translation>
    </message>
</context>
<context>
    <name>LevelMonitor</name>
    <message>
        <source>ピークメーターメモリー確保に失敗しました・・・</source>
        <translation>Peak meter: out of memory...</translation>
    </message>
    <message>
        <source>ピークメーターオープンに失敗しました・・・</source>
        <translation>Peak meter: could not open...</translation>
    </message>
    <message>
        <source>ピークメーターヘッダー設定に失敗しました・・・</source>
        <translation>Peak meter: could not prepare a buffer...</translation>
    </message>
    <message>
        <source>ピークメーターヘッダー設定に失敗しました・・・2</source>
        <translation>Peak meter: could not prepare a buffer...2</translation>
    </message>
    <message>
        <source>ピークメーターバッファー設定に失敗しました・・・</source>
        <translation>Peak meter: could not queue a buffer...</translation>
    </message>
    <message>
        <source>ピークメーター開始に失敗しました・・・</source>
        <translation>Peak meter: could not start...</translation>
    </message>
</context>
<context>
    <name>LevelMonitorPanel</name>
    <message>
        <source>ピークメーター</source>
        <translation>Peak meter</translation>
    </message>
    <message>
        <source>カットレベル</source>
        <translation>Cut level</translation>
    </message>
    <message>
        <source>ピークホールド／クリア</source>
        <translation>Peak hold / clear</translation>
    </message>
    <message>
        <source>ピークメーターON</source>
        <translation>Peak meter on</translation>
    </message>
    <message>
        <source>自動ボリューム／メーターOFF</source>
        <translation>Auto volume / meter off</translation>
    </message>
    <message>
        <source>自動録音ボリュームセット ON(赤)/OFF</source>
        <translation>Auto recording volume on (red) / off</translation>
    </message>
    <message>
        <source>１６ビット カットレベル</source>
        <translation>16-bit cut level</translation>
    </message>
    <message>
        <source>８ビット カットレベル</source>
        <translation>8-bit cut level</translation>
    </message>
    <message>
        <source>特殊音源ボード カットレベル</source>
        <translation>Cut level for special sound cards</translation>
    </message>
    <message>
        <source>最大カットレベル</source>
        <translation>Highest cut level</translation>
    </message>
    <message>
        <source>最小カットレベル</source>
        <translation>Lowest cut level</translation>
    </message>
    <message>
        <source>カットレベル アップ／ダウン</source>
        <translation>Cut level up / down</translation>
    </message>
    <message>
        <source>左の数値を、カットレベルにセットする</source>
        <translation>Make the number on the left the cut level</translation>
    </message>
</context>
<context>
    <name>MixerLayer</name>
    <message>
        <source>ラインデータの取得に失敗しました・・・</source>
        <translation>Could not read the mixer lines...</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>ＯＫ</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>ｶｳﾝﾄ再開</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>右クリックで、コピーできます☆</source>
        <translation>Right-click to copy</translation>
    </message>
    <message>
        <source>タイムアウト、デフォルト値</source>
        <translation>Chosen when time runs out</translation>
    </message>
</context>
<context>
    <name>SetupWindow</name>
    <message>
        <source>インスツール</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>を置くフォルダーの設定：</source>
        <translation> goes into this folder:</translation>
    </message>
    <message>
        <source>登録するフォルダーの設定</source>
        <translation>The folder to install into</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>既に存在するフォルダーから選択する時</source>
        <translation>Choose an existing folder</translation>
    </message>
    <message>
        <source>初期値</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>初期値に戻す</source>
        <translation>Back to the default folder</translation>
    </message>
    <message>
        <source>を登録するグループの選択：</source>
        <translation> is listed in this menu group:</translation>
    </message>
    <message>
        <source>登録グループ名を選びます</source>
        <translation>Choose the menu group</translation>
    </message>
    <message>
        <source>スタートアップグループにも、アイコンを登録する。</source>
        <translation>Also start it at login (autostart).</translation>
    </message>
    <message>
        <source>KELDO色</source>
        <translation>KELDO colours</translation>
    </message>
    <message>
        <source>標準色</source>
        <translation>Standard colours</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>現在の設定値で登録する</source>
        <translation>Install with these settings</translation>
    </message>
    <message>
        <source>設定中</source>
        <translation>Installing</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>インスツールを中止します</source>
        <translation>Cancel the installation</translation>
    </message>
    <message>
        <source> 登録</source>
        <translation> Setup</translation>
    </message>
    <message>
        <source> 削除</source>
        <translation> Uninstall</translation>
    </message>
    <message>
        <source>登録先</source>
        <translation>Install: </translation>
    </message>
    <message>
        <source>%1 アンインストール</source>
        <translation>Uninstall %1</translation>
    </message>
    <message>
        <source>グループ名の取得に失敗しました・・・</source>
        <translation>Could not read the menu groups...</translation>
    </message>
    <message>
        <source>登録を中止します。</source>
        <translation>Installation cancelled.</translation>
    </message>
    <message>
        <source>グループ名を設定して下さい。</source>
        <translation>Please choose a menu group.</translation>
    </message>
    <message>
        <source>フォルダーを設定して下さい。</source>
        <translation>Please choose a folder.</translation>
    </message>
    <message>
        <source>フォルダーを作成します</source>
        <translation>Create this folder?</translation>
    </message>
    <message>
        <source>フォルダーの作成に失敗しました・・・</source>
        <translation>Could not create the folder...</translation>
    </message>
    <message>
        <source>データが不正です</source>
        <translation>The data is not valid.</translation>
    </message>
    <message>
        <source>ファイルのコピーに失敗しました・・・</source>
        <translation>Could not copy the files...</translation>
    </message>
    <message>
        <source>ｱｲｺﾝ:スタートアップグループが不明ですので アイコン登録出来ません</source>
        <translation>The autostart folder is unknown: no autostart launcher was added.</translation>
    </message>
    <message>
        <source>登録完了です。

[ %1 ]
グループに登録しました☆☆
お疲れ様☆☆</source>
        <translation>Installation complete.

[ %1 ]
The icon is in this menu group.
Thank you!</translation>
    </message>
    <message>
        <source>登録を完了できませんでした。次の処理に失敗しました：</source>
        <translation>The installation is not complete. These steps failed:</translation>
    </message>
    <message>
        <source>・設定値の書き込み</source>
        <translation>- writing the settings</translation>
    </message>
    <message>
        <source>・グループへのアイコン登録</source>
        <translation>- adding the launchers to the menu group</translation>
    </message>
    <message>
        <source>・スタートアップグループへのアイコン登録</source>
        <translation>- adding the autostart launcher</translation>
    </message>
    <message>
        <source>・アンインストール情報の書き込み</source>
        <translation>- writing the uninstall information</translation>
    </message>
    <message>
        <source>・アイコンテーマへのアイコン登録</source>
        <translation>- adding the icon to the icon theme</translation>
    </message>
    <message>
        <source>コピーに失敗しました</source>
        <translation>Copy failed</translation>
    </message>
    <message>
        <source>バッファの取得に失敗しました・・・32700</source>
        <translation>Could not get a buffer...32700</translation>
    </message>
    <message>
        <source>を、アンインストールしても、よろしいですか？</source>
        <translation>Uninstall this program?</translation>
    </message>
    <message>
        <source>アンインストールを中止しました。</source>
        <translation>Uninstall cancelled.</translation>
    </message>
    <message>
        <source>アイコン／TXTﾌｧｲﾙの削除を終了しました。
メモリー／登録タイムデータファイルも削除して、よろしいですか？？？</source>
        <translation>The icons and the text file have been removed.
Delete the saved volume files too?</translation>
    </message>
    <message>
        <source>当ソフトのレジストリー情報も削除してよろしいですか？？</source>
        <translation>Delete this program&apos;s settings too?</translation>
    </message>
    <message>
        <source>1アンインストールエラー：アンインストールの起動に失敗しました</source>
        <translation>1 Uninstall error: could not start the uninstall</translation>
    </message>
    <message>
        <source>2アンインストールエラー：アンインストールソフトの起動に失敗しました</source>
        <translation>2 Uninstall error: could not start the uninstaller</translation>
    </message>
    <message>
        <source>アンインストールエラー：パラメーターが不正です・・・
[KELDO SOFT32]専用のアンインストールソフトです。</source>
        <translation>Uninstall error: invalid parameters...
This uninstaller is for [KELDO SOFT32] programs only.</translation>
    </message>
    <message>
        <source>削除が完了しました☆☆☆
お疲れ様☆☆☆</source>
        <translation>Uninstall complete.
Thank you!</translation>
    </message>
    <message>
        <source>このユーザーからの削除が完了しました☆☆☆
プログラム本体はパッケージで導入されているので、そのまま残ります。
削除するには、パッケージマネージャー（apt など）を使って下さい。
お疲れ様☆☆☆</source>
        <translation>Removed for this user.
The program itself came in a package and stays installed:
to remove it, use the package manager (apt or similar).
Thank you!</translation>
    </message>
    <message>
        <source>アンインストールエラー：ソフトが起動中です。
終了しないとアンインストール出来ません。</source>
        <translation>Uninstall error: the program is running.
Quit it before uninstalling.</translation>
    </message>
    <message>
        <source>アンインストールエラー：プログラムが終了しないため削除できませんでした・・・
%1
プログラムを終了してから、もう一度アンインストールして下さい。</source>
        <translation>Uninstall error: the program did not quit, so it could not be removed...
%1
Quit the program, then uninstall again.</translation>
    </message>
</context>
<context>
    <name>ProgramEntry</name>
    <message>
        <source>DORIVA SOUND ボリューム</source>
        <translation>DORIVA SOUND Volume</translation>
    </message>
    <message>
        <source>起動の確認に使うフォルダ %1 は、他のユーザーが作成したか、他のユーザーも書き込めるため使用できません。このフォルダを削除してから起動してください。</source>
        <translation>The folder %1, which tells whether the program is already running, was made by another user or other users can write to it, so it cannot be used. Delete this folder, then start the program again.</translation>
    </message>
    <message>
        <source>起動の確認に使うフォルダ %1 を作成できません。</source>
        <translation>Cannot create the folder %1, which tells whether the program is already running.</translation>
    </message>
    <message>
        <source>起動の確認に使うソケット %1 を作成できません。
%2</source>
        <translation>Cannot create the socket %1, which tells whether the program is already running.
%2</translation>
    </message>
    <message>
        <source>起動中のプログラムが応答しないため、終了します。</source>
        <translation>The running copy of the program does not answer; quitting.</translation>
    </message>
    <message>
        <source>設定ファイル %1 は 16 MiB を超えているため、すべてを読むことができません。内容を失わないよう、このファイルには設定を保存しません。</source>
        <translation>The settings file %1 is larger than 16 MiB and cannot be read completely. To keep its contents, no settings will be saved to it.</translation>
    </message>
    <message>
        <source>設定ファイル %1 を読むことができません。内容を失わないよう、このファイルには設定を保存しません。</source>
        <translation>Cannot read the settings file %1. To keep its contents, no settings will be saved to it.</translation>
    </message>
</context>
<context>
    <name>MenuGroups</name>
    <message>
        <source>DDE:オープンに失敗しました・・・</source>
        <translation>DDE: could not open...</translation>
    </message>
    <message>
        <source>DDE:送信に失敗しました・・・</source>
        <translation>DDE: could not send...</translation>
    </message>
    <message>
        <source>グループ名・アイコン名に、使えない文字（ &quot; ( ) [ ] , や制御文字）が含まれています：
</source>
        <translation>The group or icon name holds characters that cannot be used ( &quot; ( ) [ ] , or control characters):
</translation>
    </message>
    <message>
        <source>プログラムのパスに、使えない文字（ &quot; や制御文字）が含まれています：
</source>
        <translation>The program path holds characters that cannot be used ( &quot; or control characters):
</translation>
    </message>
</context>
<context>
    <name>RegisteredVolumes</name>
    <message>
        <source>登録ボリューム名</source>
        <translation>Saved volume name</translation>
    </message>
    <message>
        <source>登録ボリューム値</source>
        <translation>Saved volume value</translation>
    </message>
    <message>
        <source>設定値</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>登録ボリューム設定値を、現在のボリュームにする</source>
        <translation>Set the volume to the saved value</translation>
    </message>
    <message>
        <source>登録ボリュームを、編集する</source>
        <translation>Edit the saved volumes</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>Store</translation>
    </message>
    <message>
        <source>現在のボリュームを、登録する</source>
        <translation>Store the current volume under this name</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>登録ボリューム名を変更する</source>
        <translation>Rename the saved volume</translation>
    </message>
    <message>
        <source>新規</source>
        <translation>New</translation>
    </message>
    <message>
        <source>新規登録ボリューム名を作成する</source>
        <translation>Make a new saved volume</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>登録ボリューム名を、削除する</source>
        <translation>Delete the saved volume</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>登録ボリューム名の編集を、終了する</source>
        <translation>Finish editing the saved volumes</translation>
    </message>
    <message>
        <source>この名称は、既に使われています☆</source>
        <translation>This name is already in use.</translation>
    </message>
    <message>
        <source>登録ボリュームを保存できませんでした☆</source>
        <translation>The saved volumes could not be written.</translation>
    </message>
    <message>
        <source>以前のファイルはそのまま残っています。</source>
        <translation>The previous files are still there.</translation>
    </message>
    <message>
        <source>ファイルに書けない文字が含まれています：</source>
        <translation>It holds characters the file cannot store: </translation>
    </message>
    <message>
        <source>「%1」</source>
        <translation>&quot;%1&quot;</translation>
    </message>
    <message>
        <source>登録ボリュームのファイルが大きすぎるため、一部しか読めませんでした☆</source>
        <translation>The saved volume files are too large; only part of them was read.</translation>
    </message>
    <message>
        <source>・%1バイトを超えています</source>
        <translation>- over %1 bytes</translation>
    </message>
    <message>
        <source>・%1行を超えています</source>
        <translation>- over %1 lines</translation>
    </message>
    <message>
        <source>・%1バイトを超える行があります</source>
        <translation>- a line over %1 bytes</translation>
    </message>
    <message>
        <source>ファイルはそのまま残し、終了時にも書き換えません。
（登録ボリュームの変更は保存されません）</source>
        <translation>The files stay as they are and are not rewritten on exit.
(Changes to the saved volumes will not be kept.)</translation>
    </message>
</context>
<context>
    <name>InputBox</name>
    <message>
        <source>：</source>
        <translation>:</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>H</source>
        <translation>H</translation>
    </message>
    <message>
        <source>ヒストリーの表示</source>
        <translation>Show the history</translation>
    </message>
    <message>
        <source>off</source>
        <translation>off</translation>
    </message>
    <message>
        <source>ヒストリーを選択せずに閉じる</source>
        <translation>Close the history without choosing</translation>
    </message>
    <message>
        <source>ヒストリーの選択</source>
        <translation>Choose from the history</translation>
    </message>
</context>
<context>
    <name>TrayComponent</name>
    <message>
        <source>0以下は指定できません</source>
        <translation>Cannot be 0 or less</translation>
    </message>
    <message>
        <source>同じアイコン識別子が有ります</source>
        <translation>This icon ID is already in use</translation>
    </message>
    <message>
        <source>アイコンが指定されていません</source>
        <translation>No icon given</translation>
    </message>
</context>
<context>
    <name>VolumeStrip</name>
    <message>
        <source>選択</source>
        <translation>Rec</translation>
    </message>
    <message>
        <source>再生／録音／その他、の選択</source>
        <translation>Choose playback/recording/other</translation>
    </message>
    <message>
        <source>ソースの選択</source>
        <translation>Choose the source</translation>
    </message>
    <message>
        <source>ボリューム調節</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>現在のボリューム</source>
        <translation>Current volume</translation>
    </message>
    <message>
        <source>現在のボリューム値</source>
        <translation>Current volume value</translation>
    </message>
    <message>
        <source>ボリューム 高速アップ／ダウン</source>
        <translation>Volume up / down fast</translation>
    </message>
    <message>
        <source>ボリューム アップ／ダウン</source>
        <translation>Volume up / down</translation>
    </message>
    <message>
        <source>ボリューム最大</source>
        <translation>Highest volume</translation>
    </message>
    <message>
        <source>ボリューム最小</source>
        <translation>Lowest volume</translation>
    </message>
    <message>
        <source>一時的に、音を消す</source>
        <translation>Mute for a while</translation>
    </message>
    <message>
        <source>録音対象の選択</source>
        <translation>Record from this line</translation>
    </message>
    <message>
        <source>録音ボリューム ガード中（他のソフトが変えた音量を、元に戻します）</source>
        <translation>Recording volume guard on (changes by other programs are undone)</translation>
    </message>
    <message>
        <source>ピークメーター</source>
        <translation>Peak meter</translation>
    </message>
    <message>
        <source>ピークメーター ON／OFF</source>
        <translation>Peak meter on / off</translation>
    </message>
    <message>
        <source>ピークホールド／クリア</source>
        <translation>Peak hold / clear</translation>
    </message>
    <message>
        <source>録音ボリューム ガード：
他のソフトが、録音ボリュームを何度も変えています・・・
そのたびに、元の音量に戻しています。
</source>
        <translation>Recording volume guard:
Another program keeps changing the recording volume...
Each time, the volume is set back.
</translation>
    </message>
    <message>
        <source>
今、この入力から録音しているソフト（原因と思われるもの）：
</source>
        <translation>
Programs recording from this input now (the likely cause):
</translation>
    </message>
    <message>
        <source>&#x3000;</source>
        <translation>  </translation>
    </message>
    <message>
        <source>
そのソフトの「マイク音量の自動調整」を OFF にすると、止まります☆☆☆</source>
        <translation>
Turn off &quot;adjust microphone volume automatically&quot; in that program to stop it.</translation>
    </message>
    <message>
        <source>
今、この入力から録音しているソフトは、見つかりませんでした。</source>
        <translation>
No program is recording from this input now.</translation>
    </message>
    <message>
        <source>
このデバイスでは、録音しているソフトを調べられません（サウンドカードのライン）。</source>
        <translation>
This device cannot tell which programs record from it (a sound card line).</translation>
    </message>
    <message>
        <source>
サウンドサーバーにつながらないため、今は録音しているソフトを調べられません。</source>
        <translation>
The sound server cannot be reached, so the programs recording from it cannot be told now.</translation>
    </message>
</context>
</TS>
