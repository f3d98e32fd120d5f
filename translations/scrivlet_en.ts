<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AppInfo</name>
    <message>
        <source>%1 のバージョン情報</source>
        <translation>About %1</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>書き込みが禁止されたファイルです (%1): %2</source>
        <translation>The file is write-protected (%1): %2</translation>
    </message>
</context>
<context>
    <name>CIniFile</name>
    <message>
        <source>設定ファイルを読み込めませんでした。既定の設定で動作します。
%1</source>
        <translation>The settings file could not be read. Scrivlet runs with the default settings.
%1</translation>
    </message>
    <message>
        <source>設定ファイルを読み込めませんでした。既定の設定で動作します。
%1: %2</source>
        <translation>The settings file could not be read. Scrivlet runs with the default settings.
%1: %2</translation>
    </message>
    <message>
        <source>キーに「=」は使えません。</source>
        <translation>A key cannot contain &quot;=&quot;.</translation>
    </message>
    <message>
        <source>キーの先頭に「;」は使えません。</source>
        <translation>A key cannot start with &quot;;&quot;.</translation>
    </message>
    <message>
        <source>キーの先頭に「[」は使えません。</source>
        <translation>A key cannot start with &quot;[&quot;.</translation>
    </message>
    <message>
        <source>設定ファイルの文字コードを読み取れない部分がありました。
元のファイルは次の名前で残しました。
%1</source>
        <translation>Part of the settings file was in an unreadable encoding.
The original file was kept as:
%1</translation>
    </message>
</context>
<context>
    <name>CPrevInstance</name>
    <message>
        <source>起動中の%1が応答しません。
終了していることを確かめてから、もう一度起動してください。</source>
        <translation>The running %1 does not answer.
Make sure it has ended, then start it again.</translation>
    </message>
</context>
<context>
    <name>CliCollaborators</name>
    <message>
        <source>Scrivlet.vbsファイルのロードに失敗しました。</source>
        <translation>Loading the file Scrivlet.vbs failed.</translation>
    </message>
</context>
<context>
    <name>CommandKeyRule</name>
    <message>
        <source>コマンド「%1」は設定ファイルに保存できません。
%2</source>
        <translation>The command &quot;%1&quot; cannot be saved in the settings file.
%2</translation>
    </message>
</context>
<context>
    <name>CommandPage</name>
    <message>
        <source>追加/置換(&amp;R)</source>
        <translation>Add/&amp;Replace</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>【引数の利用方法】
%a:引数全体
%b～%z:1～25番目の引数
(大文字ならURLｴﾝｺｰﾄﾞする)
%{...}:...を式として評価
%`...`:...をｺﾏﾝﾄﾞとして展開</source>
        <translation>[Using arguments]
%a: all arguments
%b to %z: arguments 1 to 25
(in capitals: URL-encoded)
%{...}: evaluate ... as an expression
%`...`: expand ... as a command</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>コマンド</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>中身</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>テスト</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>コマンド名(&amp;N):</source>
        <translation>Command &amp;name:</translation>
    </message>
    <message>
        <source>コマンド(&amp;C):</source>
        <translation>&amp;Command:</translation>
    </message>
    <message>
        <source>コマンドの中身(&amp;T):</source>
        <translation>Command con&amp;tents:</translation>
    </message>
    <message>
        <source>コマンドリスト(&amp;L):</source>
        <translation>Command &amp;list:</translation>
    </message>
    <message>
        <source>テスト(&amp;S):</source>
        <translation>Te&amp;st:</translation>
    </message>
    <message>
        <source>コマンド名が入力されていません</source>
        <translation>No command name has been entered</translation>
    </message>
    <message>
        <source>コマンド名に「,」は使用できません</source>
        <translation>A command name cannot contain &quot;,&quot;</translation>
    </message>
    <message>
        <source>コマンドが入力されていません</source>
        <translation>No command has been entered</translation>
    </message>
    <message>
        <source>コマンドには半角英数字以外は使用できません
(但し、数字のみのコマンドは受け付けません)</source>
        <translation>A command may only contain ASCII letters and digits
(a command of digits alone is not accepted)</translation>
    </message>
    <message>
        <source>コマンドの内容が入力されていません</source>
        <translation>No command contents have been entered</translation>
    </message>
    <message>
        <source>コマンド%1は既に登録されています。
既存のコマンドと置き換えますか？</source>
        <translation>The command %1 is already registered.
Replace the existing command?</translation>
    </message>
    <message>
        <source>コマンド%1を削除します。
よろしいですか？</source>
        <translation>The command %1 will be deleted.
Are you sure?</translation>
    </message>
    <message>
        <source>このコマンドは登録されていませんでした。</source>
        <translation>This command was not registered.</translation>
    </message>
</context>
<context>
    <name>ConsoleScriptHost</name>
    <message>
        <source>入力エラー: スクリプト ファイル &quot;%1&quot; が見つかりません。</source>
        <translation>Input error: the script file &quot;%1&quot; was not found.</translation>
    </message>
</context>
<context>
    <name>DesktopLimits</name>
    <message>
        <source>Wayland のデスクトップでは使えません (X11 のみ)。</source>
        <translation>Not available on a Wayland desktop (X11 only).</translation>
    </message>
    <message>
        <source>このデスクトップでは、ホットキーはデスクトップが管理します。
割り当てられたキー: %1
変更はデスクトップの設定 (キーボード ショートカット) で行います。</source>
        <translation>On this desktop, the desktop manages the hotkey.
Assigned keys: %1
Change them in the desktop settings (keyboard shortcuts).</translation>
    </message>
    <message>
        <source>(なし)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>デスクトップの設定を開く(&amp;D)</source>
        <translation>Open the &amp;desktop settings</translation>
    </message>
</context>
<context>
    <name>ExampleScript</name>
    <message>
        <source>&apos; Scrivlet.vbs: 入力欄から呼び出せる関数を書くファイルです (VBScript)。
&apos; 書き換えたら保存し、設定の「Scrivlet.vbs の再読込」で読み込み直します。
&apos;
&apos; 例: 入力欄に Tax(1200) と入力して Enter を押すと、税込みの 1320 になります。
Function Tax(price)
    Tax = Int(price * 1.1)
End Function
</source>
        <translation>&apos; Scrivlet.vbs: functions you can call from the input line (VBScript).
&apos; After editing, save the file and load it again with &quot;Load Scrivlet.vbs again&quot; in the settings.
&apos;
&apos; Example: type Tax(1200) in the input line and press Enter to get 1320, the price with tax.
Function Tax(price)
    Tax = Int(price * 1.1)
End Function
</translation>
    </message>
</context>
<context>
    <name>HotKeyWarning</name>
    <message>
        <source>ホットキーの登録に失敗しました。</source>
        <translation>Registering the hotkey failed.</translation>
    </message>
    <message>
        <source>

ホットキー: %1</source>
        <translation>

Hotkey: %1</translation>
    </message>
    <message>
        <source>

他のプログラムが同じキーを使っている可能性があります。
別のキーは「設定」の「全般」タブの「ホットキー」で選べます。</source>
        <translation>

Another program may be using the same keys.
Choose other keys under &quot;Hotkey&quot; on the &quot;General&quot; tab of the settings.</translation>
    </message>
</context>
<context>
    <name>InputBoxDialog</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>KGlobalAccelHotKeyService</name>
    <message>
        <source>入力バーを表示する/隠す</source>
        <translation>Show or hide the input bar</translation>
    </message>
    <message>
        <source>KDE のショートカット サービスがキーを受け付けませんでした (%1)。
</source>
        <translation>The KDE shortcut service did not accept the keys (%1).
</translation>
    </message>
</context>
<context>
    <name>LaunchTarget</name>
    <message>
        <source>「%1」を開くアプリケーションがありません。</source>
        <translation>There is no application to open &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>「%1」が見つかりません。</source>
        <translation>&quot;%1&quot; was not found.</translation>
    </message>
    <message>
        <source>「%1」のリンクを開くアプリケーションがありません。</source>
        <translation>There is no application to open the link &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>プログラム「%1」が見つかりません。</source>
        <translation>The program &quot;%1&quot; was not found.</translation>
    </message>
    <message>
        <source>「%1」を開く端末がありません。</source>
        <translation>There is no terminal to open &quot;%1&quot; in.</translation>
    </message>
</context>
<context>
    <name>MemoList</name>
    <message>
        <source>メモファイルを読み込めないため、メモを保存できません。
%1</source>
        <translation>The memo file cannot be read, so the memos cannot be saved.
%1</translation>
    </message>
    <message>
        <source>メモファイルは他のプログラムにも変更されていました。
そちらの内容は次のファイルに残しました。
%1</source>
        <translation>The memo file had also been changed by another program.
Its contents were kept in this file:
%1</translation>
    </message>
    <message>
        <source>メモファイルの文字コードを読み取れない部分がありました。
元のファイルは次の名前で残しました。
%1</source>
        <translation>Part of the memo file was in an unreadable encoding.
The original file was kept as:
%1</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>中止(&amp;A)</source>
        <translation>&amp;Abort</translation>
    </message>
    <message>
        <source>再試行(&amp;R)</source>
        <translation>&amp;Retry</translation>
    </message>
    <message>
        <source>無視(&amp;I)</source>
        <translation>&amp;Ignore</translation>
    </message>
</context>
<context>
    <name>OpenFileDialog</name>
    <message>
        <source>ﾌｧｲﾙを開く</source>
        <translation>Open File</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>OpenWithDialog</name>
    <message>
        <source>プログラムから開く</source>
        <translation>Open With</translation>
    </message>
    <message>
        <source>開くフォルダー: %1</source>
        <translation>Folder to open: %1</translation>
    </message>
    <message>
        <source>開くファイル: %1</source>
        <translation>File to open: %1</translation>
    </message>
    <message>
        <source>使うプログラム:</source>
        <translation>Program to use:</translation>
    </message>
    <message>
        <source>またはコマンド:</source>
        <translation>Or a command:</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>起動できませんでした。</source>
        <translation>It could not be started.</translation>
    </message>
</context>
<context>
    <name>PortalHotKeyService</name>
    <message>
        <source>入力バーを表示する/隠す</source>
        <translation>Show or hide the input bar</translation>
    </message>
    <message>
        <source>デスクトップの設定でキーボード ショートカットを作り、コマンド scrivlet を割り当ててください。もう一度起動すると、常駐しているウィンドウが表示されます。</source>
        <translation>Create a keyboard shortcut in the desktop settings and give it the command scrivlet. Starting it again shows the resident window.</translation>
    </message>
    <message>
        <source>デスクトップ ポータル (xdg-desktop-portal) が動いていません。</source>
        <translation>The desktop portal (xdg-desktop-portal) is not running.</translation>
    </message>
    <message>
        <source>このデスクトップのポータルは、グローバル ショートカットに対応していません。</source>
        <translation>This desktop&apos;s portal does not support global shortcuts.</translation>
    </message>
    <message>
        <source>デスクトップ ポータルがショートカットの登録を受け付けませんでした (%1)。</source>
        <translation>The desktop portal did not accept the shortcut (%1).</translation>
    </message>
    <message>
        <source>デスクトップでショートカットの登録が取り消されました。</source>
        <translation>The shortcut was removed on the desktop.</translation>
    </message>
    <message>
        <source>デスクトップがショートカットの登録を断りました。</source>
        <translation>The desktop refused the shortcut.</translation>
    </message>
</context>
<context>
    <name>RunawayScriptGuard</name>
    <message>
        <source>スクリプトの実行に時間がかかっています。
中止するには[中止]を押すか Esc キーを押してください。</source>
        <translation>The script is taking a long time.
To stop it, press [Stop] or the Esc key.</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
</context>
<context>
    <name>TimerPage</name>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>指定した時刻にコマンドを実行(&amp;T)</source>
        <translation>Run the command at a &amp;time of day</translation>
    </message>
    <message>
        <source>指定した時間後にコマンドを実行(&amp;W)</source>
        <translation>Run the command after a &amp;while</translation>
    </message>
    <message>
        <source>時</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分にコマンドを実行</source>
        <translation>min: run the command</translation>
    </message>
    <message>
        <source>分後にコマンドを実行</source>
        <translation>min later: run the command</translation>
    </message>
    <message>
        <source>1分～1440分(24時間)まで、一分刻みで指定できます。</source>
        <translation>From 1 to 1440 minutes (24 hours), in steps of one minute.</translation>
    </message>
    <message>
        <source>実行するコマンド(&amp;C):</source>
        <translation>&amp;Command to run:</translation>
    </message>
    <message>
        <source>登録(&amp;R)</source>
        <translation>&amp;Register</translation>
    </message>
    <message>
        <source>設定時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>コマンド</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>作動中のタイマー(&amp;L):</source>
        <translation>Running timers (&amp;L):</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>MsgBox(&quot;時間になりました。&quot;)</source>
        <translation>MsgBox(&quot;Time is up.&quot;)</translation>
    </message>
    <message>
        <source>実行するコマンドが入力されていません</source>
        <translation>No command to run has been entered</translation>
    </message>
    <message>
        <source>タイマーを開始します。</source>
        <translation>The timer starts.</translation>
    </message>
    <message>
        <source>%1に作動するタイマーを削除します。
よろしいですか？</source>
        <translation>The timer that goes off at %1 will be deleted.
Are you sure?</translation>
    </message>
</context>
<context>
    <name>X11HotKeyService</name>
    <message>
        <source>このデスクトップ (Wayland など) では、ほかのプログラムが使うキーを登録できません。
デスクトップの設定でキーボード ショートカットを作り、コマンド scrivlet を割り当ててください。もう一度起動すると、常駐しているウィンドウが表示されます。</source>
        <translation>On this desktop (Wayland, for example) a program cannot register keys for use everywhere.
Create a keyboard shortcut in the desktop settings and give it the command scrivlet. Starting it again shows the resident window.</translation>
    </message>
</context>
<context>
    <name>frmMemo</name>
    <message>
        <source>式・パス・URL・メモ (F1)</source>
        <translation>Calculation, path, URL or memo (F1)</translation>
    </message>
    <message>
        <source>計算式、ファイルやフォルダーのパス、URL、またはメモを入力して Enter。
F1 でヘルプを表示します。</source>
        <translation>Type a calculation, the path of a file or folder, a URL or a memo and press Enter.
F1 shows the help.</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ログを表示(&amp;L)</source>
        <translation>Show &amp;log</translation>
    </message>
    <message>
        <source>設定(&amp;O)</source>
        <translation>Settings (&amp;O)</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>閉じる(&amp;E)</source>
        <translation>Clos&amp;e</translation>
    </message>
    <message>
        <source>このメモを削除します。よろしいですか？</source>
        <translation>This memo will be deleted. Are you sure?</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>メモの保存に失敗しました。
%1</source>
        <translation>Saving the memos failed.
%1</translation>
    </message>
    <message>
        <source>Scrivlet.vbsファイルのロードに失敗しました。</source>
        <translation>Loading the file Scrivlet.vbs failed.</translation>
    </message>
    <message>
        <source>MRUの保存に失敗しました。</source>
        <translation>Saving the history failed.</translation>
    </message>
    <message>
        <source>常駐解除します。
よろしいですか？</source>
        <translation>Scrivlet will stop running.
Are you sure?</translation>
    </message>
    <message>
        <source>メモの保存に失敗しました。
%1
%2</source>
        <translation>Saving the memos failed.
%1
%2</translation>
    </message>
    <message>
        <source>メモファイルを読み込めませんでした。
%1
%2</source>
        <translation>The memo file could not be read.
%1
%2</translation>
    </message>
</context>
<context>
    <name>frmProperty</name>
    <message>
        <source>常に手前に表示する(&amp;T)</source>
        <translation>Always on &amp;top</translation>
    </message>
    <message>
        <source>起動時に最小化(&amp;M)</source>
        <translation>&amp;Minimized at start</translation>
    </message>
    <message>
        <source>終了時に確認ダイアログ表示(&amp;U)</source>
        <translation>Confirm on exit (&amp;U)</translation>
    </message>
    <message>
        <source>IMEの状態を復元する(&amp;I)</source>
        <translation>Restore the &amp;input method state</translation>
    </message>
    <message>
        <source>実行後閉じる(&amp;X)</source>
        <translation>Close after running (&amp;X)</translation>
    </message>
    <message>
        <source>タスクトレイに入れない(&amp;K)</source>
        <translation>No tray icon (&amp;K)</translation>
    </message>
    <message>
        <source>結果をクリップボードへ(&amp;C)</source>
        <translation>Result to the &amp;clipboard</translation>
    </message>
    <message>
        <source>結果が無ければ閉じる(&amp;N)</source>
        <translation>Close when there is &amp;no result</translation>
    </message>
    <message>
        <source>エラーメッセージを表示(&amp;S)</source>
        <translation>&amp;Show error messages</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>全般</source>
        <translation>General</translation>
    </message>
    <message>
        <source>アプリケーション全般の設定を行います。</source>
        <translation>Settings for the whole application.</translation>
    </message>
    <message>
        <source>コマンド</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>コマンドの登録を行います。</source>
        <translation>Registers commands.</translation>
    </message>
    <message>
        <source>タイマー</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>タイマーの登録を行います。</source>
        <translation>Registers timers.</translation>
    </message>
    <message>
        <source>この画面を常に手前に表示します。</source>
        <translation>Keeps this window on top.</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>適用(&amp;A)</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>ログイン時に起動する(&amp;G)</source>
        <translation>Start at lo&amp;gin</translation>
    </message>
    <message>
        <source>ホットキー(&amp;H):</source>
        <translation>&amp;Hotkey:</translation>
    </message>
    <message>
        <source>ホットキーには
・[Ctrl] + [Alt] + 英数字
・[Ctrl] + [Shift] + [Alt] + 英数字
・[Windows] + 英数字
が指定可能です。</source>
        <translation>A hotkey can be
- [Ctrl] + [Alt] + a letter or digit
- [Ctrl] + [Shift] + [Alt] + a letter or digit
- [Windows] + a letter or digit</translation>
    </message>
    <message>
        <source>履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <source>履歴の数を限定する(&amp;A)</source>
        <translation>Limit the history (&amp;A)</translation>
    </message>
    <message>
        <source>履歴の数(&amp;R):</source>
        <translation>Entries (&amp;R):</translation>
    </message>
    <message>
        <source>履歴の消去(&amp;D)</source>
        <translation>&amp;Delete the history</translation>
    </message>
    <message>
        <source>計算</source>
        <translation>Calculation</translation>
    </message>
    <message>
        <source>Scrivlet.vbs の編集(&amp;E)...</source>
        <translation>&amp;Edit Scrivlet.vbs...</translation>
    </message>
    <message>
        <source>Scrivlet.vbs の再読込(&amp;L)</source>
        <translation>&amp;Load Scrivlet.vbs again</translation>
    </message>
    <message>
        <source>メモファイル名(&amp;F):</source>
        <translation>Memo &amp;file:</translation>
    </message>
    <message>
        <source>設定 - </source>
        <translation>Settings - </translation>
    </message>
    <message>
        <source>計算機能は利用できません。
MSSCRIPT.ocxがインストールされていないようです。</source>
        <translation>Calculation is not available.
The script engine does not seem to be installed.</translation>
    </message>
    <message>
        <source>設定を保存できませんでした。
%1</source>
        <translation>The settings could not be saved.
%1</translation>
    </message>
    <message>
        <source>ログイン時の起動を設定できませんでした。
%1
%2</source>
        <translation>Starting at login could not be set up.
%1
%2</translation>
    </message>
    <message>
        <source>履歴を削除します。
この操作は元に戻せませんがよろしいですか？</source>
        <translation>The history will be deleted.
This cannot be undone. Are you sure?</translation>
    </message>
    <message>
        <source>Scrivlet.vbsをロードし直します。
よろしいですか？</source>
        <translation>Scrivlet.vbs will be loaded again.
Are you sure?</translation>
    </message>
    <message>
        <source>処理が終了しました。</source>
        <translation>Done.</translation>
    </message>
    <message>
        <source>ロードに失敗しました。</source>
        <translation>Loading failed.</translation>
    </message>
    <message>
        <source>このホットキーは使用できません。
</source>
        <translation>This hotkey cannot be used.
</translation>
    </message>
</context>
<context>
    <name>memo::MemoFindView</name>
    <message>
        <source>「%1」を含む行はありません</source>
        <translation>No line contains &quot;%1&quot;</translation>
    </message>
    <message>
        <source>探す文字を入力してください</source>
        <translation>Type the text to find</translation>
    </message>
</context>
<context>
    <name>uHotKey</name>
    <message>
        <source>(なし)</source>
        <translation>(none)</translation>
    </message>
</context>
<context>
    <name>uMultiMemo</name>
    <message>
        <source>新しいメモ</source>
        <translation>New memo</translation>
    </message>
    <message>
        <source>メモを削除</source>
        <translation>Delete memo</translation>
    </message>
    <message>
        <source>前のメモ</source>
        <translation>Previous memo</translation>
    </message>
    <message>
        <source>次のメモ</source>
        <translation>Next memo</translation>
    </message>
</context>
</TS>
