<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Ui</name>
    <message>
        <source>MediaPlayerのバージョン</source>
        <translation>Media player version</translation>
    </message>
    <message>
        <source>色(&amp;C):</source>
        <translation>&amp;Colour:</translation>
    </message>
    <message>
        <source>トラック %1</source>
        <translation>Track %1</translation>
    </message>
    <message>
        <source>デスクトップ</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>コンピュータ</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>ネットワーク</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>カラオケアイコン</source>
        <translation>Karaoke icon</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>アーティスト</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>アルバム</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>クリップボードがテキストを受け付けませんでした (%1)</source>
        <translation>The clipboard did not accept the text (%1)</translation>
    </message>
    <message>
        <source>歌詞が曲に合わせて流れる音楽プレーヤー</source>
        <translation>A music player whose lyrics follow the song</translation>
    </message>
    <message>
        <source>エンドレス再生</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>シャッフル</source>
        <translation>Shuffle</translation>
    </message>
    <message>
        <source>設 定</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Sonavelのﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About Sonavel</translation>
    </message>
    <message>
        <source>Sonavel のﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About Sonavel...</translation>
    </message>
    <message>
        <source>初期状態</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>停止中</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>一時停止中</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>再生中 [ %s ]</source>
        <translation>Playing [ %s ]</translation>
    </message>
    <message>
        <source>早送り中</source>
        <translation>Fast forwarding</translation>
    </message>
    <message>
        <source>巻戻し中</source>
        <translation>Rewinding</translation>
    </message>
    <message>
        <source>サーバーからバッファ中</source>
        <translation>Buffering from the server</translation>
    </message>
    <message>
        <source>サーバーからの返答を待機中</source>
        <translation>Waiting for the server</translation>
    </message>
    <message>
        <source>メディア終了</source>
        <translation>Media ended</translation>
    </message>
    <message>
        <source>新しいメディアを準備中</source>
        <translation>Preparing new media</translation>
    </message>
    <message>
        <source>準備完了</source>
        <translation>Ready to play</translation>
    </message>
    <message>
        <source>ストリームに再接続中</source>
        <translation>Reconnecting to the stream</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>トラック</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>プレイリストの削除に失敗しました</source>
        <translation>The playlist could not be deleted</translation>
    </message>
    <message>
        <source>ショートカット &quot;%s&quot; の読み込みに失敗しました。
ファイル &quot;%s&quot; が存在しません。
ショートカット &quot;%s&quot; を削除しますか？</source>
        <translation>The shortcut &quot;%s&quot; could not be read.
The file &quot;%s&quot; does not exist.
Delete the shortcut &quot;%s&quot;?</translation>
    </message>
    <message>
        <source>新規カラオケデータの作成に失敗しました</source>
        <translation>The new karaoke data could not be created</translation>
    </message>
    <message>
        <source>クリップボードを開くのに失敗しました
(%s)</source>
        <translation>The clipboard could not be opened
(%s)</translation>
    </message>
    <message>
        <source>クリップボードのクリアに失敗しました
(%s)</source>
        <translation>The clipboard could not be cleared
(%s)</translation>
    </message>
    <message>
        <source>クリップボードのデータ設定に失敗しました
(%s)</source>
        <translation>The data could not be put on the clipboard
(%s)</translation>
    </message>
    <message>
        <source>クリップボードを閉じるのに失敗しました
(%s)</source>
        <translation>The clipboard could not be closed
(%s)</translation>
    </message>
    <message>
        <source>ファイル名(%s)に使えない文字 (\ / : , ; * ? &quot; &lt; &gt; |)が含まれています</source>
        <translation>The file name (%s) contains characters that cannot be used (\ / : , ; * ? &quot; &lt; &gt; |)</translation>
    </message>
    <message>
        <source>カラオケデータ &quot;%s&quot; を削除できませんでした
(%s)</source>
        <translation>The karaoke data &quot;%s&quot; could not be deleted
(%s)</translation>
    </message>
    <message>
        <source>&quot;%s&quot; が見つかりません</source>
        <translation>&quot;%s&quot; cannot be found</translation>
    </message>
    <message>
        <source>&quot;%s&quot; はトラックリストにないため再生できません</source>
        <translation>&quot;%s&quot; cannot be played: it is not in the track list</translation>
    </message>
    <message>
        <source>カラオケデータ &quot;%s&quot; を削除します。よろしいですか？</source>
        <translation>Delete the karaoke data &quot;%s&quot;?</translation>
    </message>
    <message>
        <source>ショートカットファイル &quot;%s&quot; は既に存在します。上書きしますか？</source>
        <translation>The shortcut file &quot;%s&quot; already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>前曲へ</source>
        <translation>Previous track</translation>
    </message>
    <message>
        <source>次曲へ</source>
        <translation>Next track</translation>
    </message>
    <message>
        <source>テキストエディタで開く</source>
        <translation>Open in a text editor</translation>
    </message>
    <message>
        <source>新規作成</source>
        <translation>New</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>コピー (タイトル)</source>
        <translation>Copy (title)</translation>
    </message>
    <message>
        <source>コピー(アーティスト)</source>
        <translation>Copy (artist)</translation>
    </message>
    <message>
        <source>コピー(アルバム)</source>
        <translation>Copy (album)</translation>
    </message>
    <message>
        <source>カラオケ表示</source>
        <translation>Karaoke</translation>
    </message>
    <message>
        <source>整数を入力してください。</source>
        <translation>Please enter an integer.</translation>
    </message>
    <message>
        <source>拡張子の追加</source>
        <translation>Add Extension</translation>
    </message>
    <message>
        <source>拡張子</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>ツリー</source>
        <translation>Tree</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>パス</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>リスト</source>
        <translation>List</translation>
    </message>
    <message>
        <source>曲情報の読込み (mp3のみ有効)</source>
        <translation>Reading track information (mp3 only)</translation>
    </message>
    <message>
        <source>WindowsMediaPlayerの機能を使用</source>
        <translation>Use the media engine</translation>
    </message>
    <message>
        <source>独自ライブラリで読込む</source>
        <translation>Use the built-in reader</translation>
    </message>
    <message>
        <source>文字コード</source>
        <translation>Encoding</translation>
    </message>
    <message>
        <source>(*)Unicodeの時は文字コードは無視</source>
        <translation>(*) Ignored for Unicode tags</translation>
    </message>
    <message>
        <source>スクロールテキスト</source>
        <translation>Scrolling text</translation>
    </message>
    <message>
        <source>フォント(タイトル)</source>
        <translation>Font (title)</translation>
    </message>
    <message>
        <source>フォント(データ)</source>
        <translation>Font (data)</translation>
    </message>
    <message>
        <source>スクロール速度(1～5)</source>
        <translation>Scroll speed (1-5)</translation>
    </message>
    <message>
        <source>背景色の変更</source>
        <translation>Change background</translation>
    </message>
    <message>
        <source>表示項目</source>
        <translation>Shown items</translation>
    </message>
    <message>
        <source>カラオケ歌詞表示</source>
        <translation>Karaoke lyrics</translation>
    </message>
    <message>
        <source>歌い終わった歌詞の色</source>
        <translation>Colour of sung lyrics</translation>
    </message>
    <message>
        <source>タイムタグの色</source>
        <translation>Colour of time tags</translation>
    </message>
    <message>
        <source>歌詞の文字コード</source>
        <translation>Lyrics encoding</translation>
    </message>
    <message>
        <source>歌詞のない曲は再生時に歌詞サーバーから取得</source>
        <translation>Fetch lyrics from the lyrics server for tracks without them</translation>
    </message>
    <message>
        <source>曲のタイトル・アーティスト・アルバム・長さを歌詞サーバー (LRCLIB) に送ります</source>
        <translation>Sends the title, artist, album and length of the track to the lyrics server (LRCLIB)</translation>
    </message>
    <message>
        <source>その他の設定</source>
        <translation>Other settings</translation>
    </message>
    <message>
        <source>ウィンドウの移動をデスクトップ内に制限</source>
        <translation>Keep windows inside the desktop</translation>
    </message>
    <message>
        <source>メイン画面を常に前面に表示</source>
        <translation>Keep the main window on top</translation>
    </message>
    <message>
        <source>ビデオ画面を常に前面に表示</source>
        <translation>Keep the video window on top</translation>
    </message>
    <message>
        <source>CD-ROMのメディア交換を検出</source>
        <translation>Detect CD-ROM media changes</translation>
    </message>
    <message>
        <source>タイトルバーにファイルのパスを表示</source>
        <translation>Show the file path in the title bar</translation>
    </message>
    <message>
        <source>(*) 次曲の再生時から有効</source>
        <translation>(*) Takes effect from the next track</translation>
    </message>
    <message>
        <source>終了時にプレイリストを削除</source>
        <translation>Delete the playlist on exit</translation>
    </message>
    <message>
        <source>言語 (次回の起動から有効)</source>
        <translation>Language (from the next start)</translation>
    </message>
    <message>
        <source>読込むファイル</source>
        <translation>Files to read</translation>
    </message>
    <message>
        <source>ショートカットファイル</source>
        <translation>Shortcut files</translation>
    </message>
    <message>
        <source>m3uファイル</source>
        <translation>m3u files</translation>
    </message>
    <message>
        <source>自動 (デスクトップの言語)</source>
        <translation>Automatic (the desktop&apos;s language)</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>ショートカットの作成</source>
        <translation>Create Shortcut</translation>
    </message>
    <message>
        <source>リンク元</source>
        <translation>Link to</translation>
    </message>
    <message>
        <source>作成するショートカット</source>
        <translation>Shortcut to create</translation>
    </message>
    <message>
        <source>作成する場所</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>ショートカット作成</source>
        <translation>Create shortcut</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>キー</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>キーを半音下げる</source>
        <translation>Lower the key by a semitone</translation>
    </message>
    <message>
        <source>キーを半音上げる</source>
        <translation>Raise the key by a semitone</translation>
    </message>
    <message>
        <source>キー (半音、-6 ～ +6)。ダブルクリックで元のキーに戻す</source>
        <translation>Key (semitones, -6 to +6). Double-click to return to the original key</translation>
    </message>
    <message>
        <source>テンポ</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>テンポを 5% 遅くする (音程はそのまま)</source>
        <translation>Slow the tempo down by 5% (pitch kept)</translation>
    </message>
    <message>
        <source>テンポを 5% 速くする (音程はそのまま)</source>
        <translation>Speed the tempo up by 5% (pitch kept)</translation>
    </message>
    <message>
        <source>テンポ (50% ～ 150%)。ダブルクリックで 100% に戻す</source>
        <translation>Tempo (50% to 150%). Double-click to return to 100%</translation>
    </message>
    <message>
        <source>ボーカル低減</source>
        <translation>Vocal reduction</translation>
    </message>
    <message>
        <source>ステレオの中央にある音 (多くはボーカル) を打ち消す。モノラルの曲では何もしません</source>
        <translation>Cancels the sound in the centre of a stereo track (usually the vocals). Does nothing on mono tracks</translation>
    </message>
    <message>
        <source>この曲はモノラルのため、ボーカル低減は働きません</source>
        <translation>This track is mono, so vocal reduction has no effect</translation>
    </message>
    <message>
        <source>歌詞オフセット</source>
        <translation>Lyrics offset</translation>
    </message>
    <message>
        <source>歌詞を 50 ms 遅らせる</source>
        <translation>Show the lyrics 50 ms later</translation>
    </message>
    <message>
        <source>歌詞を 50 ms 早める</source>
        <translation>Show the lyrics 50 ms earlier</translation>
    </message>
    <message>
        <source>歌詞オフセット (歌詞ファイルの値は %s)。ダブルクリックで歌詞ファイルの値に戻す</source>
        <translation>Lyrics offset (the lyric file&apos;s value is %s). Double-click to return to the lyric file&apos;s value</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>歌詞オフセットを歌詞ファイルに保存する (ほかの内容はそのまま)</source>
        <translation>Save the lyrics offset into the lyric file (nothing else in it changes)</translation>
    </message>
    <message>
        <source>タグの歌詞はファイルに保存できません。オフセットはこの再生の間だけ有効です</source>
        <translation>Lyrics from the tag cannot be saved to a file. The offset lasts for this playback only</translation>
    </message>
    <message>
        <source>歌詞オフセットを &quot;%s&quot; に保存できませんでした</source>
        <translation>The lyrics offset could not be saved to &quot;%s&quot;</translation>
    </message>
    <message>
        <source>曲ごとに記憶</source>
        <translation>Remember per track</translation>
    </message>
    <message>
        <source>キー・テンポ・歌詞オフセットを曲ごとに記憶し、次に再生したときに戻す</source>
        <translation>Remembers key, tempo and lyrics offset for each track and restores them the next time it plays</translation>
    </message>
    <message>
        <source>すべて元に戻す</source>
        <translation>Reset all</translation>
    </message>
    <message>
        <source>この libmpv は rubberband フィルタを使えないため、キーを変えられません</source>
        <translation>This libmpv has no rubberband filter, so the key cannot be changed</translation>
    </message>
    <message>
        <source>この libmpv は再生速度を変えられません</source>
        <translation>This libmpv cannot change the playback speed</translation>
    </message>
    <message>
        <source>この libmpv はボーカル低減のフィルタを使えません</source>
        <translation>This libmpv has no filter for vocal reduction</translation>
    </message>
    <message>
        <source>カラオケ</source>
        <translation>Karaoke</translation>
    </message>
    <message>
        <source>F6: 選択中のタイムタグの 2 秒前から再生
Ctrl+[ / Ctrl+]: テンポを変える (タイムタグは元の速さの時間で打たれます)</source>
        <translation>F6: play from 2 s before the selected time tag
Ctrl+[ / Ctrl+]: change the tempo (time tags are stamped in the original speed&apos;s time)</translation>
    </message>
    <message>
        <source>歌詞オフセットを歌詞ファイルに保存</source>
        <translation>Save the lyrics offset into the lyric file</translation>
    </message>
    <message>
        <source>編集中、再生しながら
F8: 次の行頭に再生位置のタイムタグを打つ
F9: 次の語に再生位置のタイムタグを打つ
F7: 一つ前に打った位置へ戻る
</source>
        <translation>While editing, during playback
F8: stamp the playing position on the next line start
F9: stamp the playing position on the next word
F7: go back to the previous stamp
</translation>
    </message>
    <message>
        <source>常に前面に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>編 集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>カラオケデータ &quot;%s&quot; の読み込みに失敗しました</source>
        <translation>The karaoke data &quot;%s&quot; could not be read</translation>
    </message>
    <message>
        <source>カラオケデータ &quot;%s&quot; の保存に失敗しました</source>
        <translation>The karaoke data &quot;%s&quot; could not be saved</translation>
    </message>
    <message>
        <source>入力されたタイムタグの書式が正しくありません</source>
        <translation>The time tag entered is not in a valid format</translation>
    </message>
    <message>
        <source>カラオケデータ &quot;%s&quot; の内容は変更されています。保存しますか？</source>
        <translation>The karaoke data &quot;%s&quot; has been changed. Save it?</translation>
    </message>
    <message>
        <source>カラオケデータ &quot;%s&quot; には文字コード %s で読めないバイトがあります。
このファイルに保存すると元の文字が失われるため、上書きはしません。
編集した内容を UTF-8 のコピー &quot;%s&quot; に保存しますか？</source>
        <translation>The karaoke data &quot;%s&quot; has bytes that encoding %s cannot read.
Saving to this file would lose the original characters, so it is not overwritten.
Save the edited lyrics to the UTF-8 copy &quot;%s&quot;?</translation>
    </message>
    <message>
        <source>カラオケデータ &quot;%s&quot; が既にあるため、タグの歌詞を新しいファイルに保存できません</source>
        <translation>The karaoke data &quot;%s&quot; already exists, so the lyrics from the tag cannot be saved to a new file</translation>
    </message>
    <message>
        <source>タイトル(&amp;T)</source>
        <translation>&amp;Title</translation>
    </message>
    <message>
        <source>アーティスト(&amp;R)</source>
        <translation>A&amp;rtist</translation>
    </message>
    <message>
        <source>アルバム(&amp;L)</source>
        <translation>A&amp;lbum</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>送信先</source>
        <translation>Sent to</translation>
    </message>
    <message>
        <source>同期歌詞 (syncedLyrics)</source>
        <translation>Synced lyrics (syncedLyrics)</translation>
    </message>
    <message>
        <source>テキスト歌詞 (plainLyrics)</source>
        <translation>Plain lyrics (plainLyrics)</translation>
    </message>
    <message>
        <source>公開(&amp;P)</source>
        <translation>&amp;Publish</translation>
    </message>
    <message>
        <source>長さ(&amp;D)</source>
        <translation>Len&amp;gth</translation>
    </message>
    <message>
        <source>検索(&amp;S)</source>
        <translation>&amp;Search</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>保存(&amp;A)</source>
        <translation>S&amp;ave</translation>
    </message>
    <message>
        <source>歌詞サーバー &quot;%s&quot; に接続できません。ネットワークの接続を確かめてください
(%s)</source>
        <translation>Cannot connect to the lyrics server &quot;%s&quot;. Please check the network connection
(%s)</translation>
    </message>
    <message>
        <source>歌詞サーバーが %s 秒以内に応答しませんでした</source>
        <translation>The lyrics server did not answer within %s seconds</translation>
    </message>
    <message>
        <source>歌詞サーバーとの接続が途中で切れました
(%s)</source>
        <translation>The connection to the lyrics server was cut off
(%s)</translation>
    </message>
    <message>
        <source>歌詞サーバーがエラーを返しました (HTTP %s)
%s</source>
        <translation>The lyrics server returned an error (HTTP %s)
%s</translation>
    </message>
    <message>
        <source>歌詞サーバーの応答を読み取れません
(%s)</source>
        <translation>The lyrics server&apos;s answer cannot be read
(%s)</translation>
    </message>
    <message>
        <source>歌詞サーバーの応答が 2 MB を超えたため受け取りを中止しました</source>
        <translation>The lyrics server&apos;s answer exceeded 2 MB, so it was not received</translation>
    </message>
    <message>
        <source>暗号化されていない接続への転送を拒否しました
(%s)</source>
        <translation>A redirect to an unencrypted connection was refused
(%s)</translation>
    </message>
    <message>
        <source>歌詞サーバーのアドレス &quot;%s&quot; は使えません。https:// で始まるアドレスを設定してください</source>
        <translation>The lyrics server address &quot;%s&quot; cannot be used. Please set an address starting with https://</translation>
    </message>
    <message>
        <source>歌詞は見つかりませんでした</source>
        <translation>No lyrics were found</translation>
    </message>
    <message>
        <source>歌詞サーバーとの通信に失敗しました
(%s)</source>
        <translation>Communication with the lyrics server failed
(%s)</translation>
    </message>
    <message>
        <source>検索中…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <source>%s 件見つかりました</source>
        <translation>%s found</translation>
    </message>
    <message>
        <source>同期歌詞のタイムタグが逆順になっているため保存できません</source>
        <translation>The synced lyrics cannot be saved: their time tags run backwards</translation>
    </message>
    <message>
        <source>同期歌詞の %s 行目にタイムタグがないため保存できません</source>
        <translation>The synced lyrics cannot be saved: line %s has no time tag</translation>
    </message>
    <message>
        <source>歌詞ファイル &quot;%s&quot; は既にあります。上書きしますか？</source>
        <translation>The lyric file &quot;%s&quot; already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>歌詞ファイル &quot;%s&quot; の保存に失敗しました</source>
        <translation>The lyric file &quot;%s&quot; could not be saved</translation>
    </message>
    <message>
        <source>歌詞を &quot;%s&quot; に保存しました</source>
        <translation>The lyrics were saved to &quot;%s&quot;</translation>
    </message>
    <message>
        <source>歌詞のない曲を再生したとき、その曲のタイトル・アーティスト・アルバム・長さを歌詞サーバー (%s) に送って、歌詞を自動で取得しますか？
(設定画面でいつでも変えられます)</source>
        <translation>When a track without lyrics plays, send its title, artist, album and length to the lyrics server (%s) and fetch the lyrics automatically?
(This can be changed at any time in the settings)</translation>
    </message>
    <message>
        <source>この曲はインストゥルメンタルとして登録されていて、歌詞はありません</source>
        <translation>This track is registered as instrumental and has no lyrics</translation>
    </message>
    <message>
        <source>公開の準備をしています (計算中)…</source>
        <translation>Preparing to publish (computing)…</translation>
    </message>
    <message>
        <source>歌詞を公開しました。ありがとうございます</source>
        <translation>The lyrics were published. Thank you</translation>
    </message>
    <message>
        <source>歌詞の公開に失敗しました
%s</source>
        <translation>The lyrics could not be published
%s</translation>
    </message>
    <message>
        <source>公開するにはタイトル、アーティストと曲の長さが必要です</source>
        <translation>Publishing needs a title, an artist and the length of the track</translation>
    </message>
    <message>
        <source>公開できるのは、タイムタグが正しい順に付いた歌詞ファイルだけです</source>
        <translation>Only lyric files whose time tags are in order can be published</translation>
    </message>
    <message>
        <source>送信しています…</source>
        <translation>Sending…</translation>
    </message>
    <message>
        <source>同期</source>
        <translation>Synced</translation>
    </message>
    <message>
        <source>テキスト</source>
        <translation>Plain</translation>
    </message>
    <message>
        <source>インスト</source>
        <translation>Instrumental</translation>
    </message>
    <message>
        <source>歌詞を検索</source>
        <translation>Search Lyrics</translation>
    </message>
    <message>
        <source>歌詞を公開</source>
        <translation>Publish Lyrics</translation>
    </message>
    <message>
        <source>歌詞を検索…</source>
        <translation>Search lyrics…</translation>
    </message>
    <message>
        <source>公開…</source>
        <translation>Publish…</translation>
    </message>
    <message>
        <source>自動伸縮</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>アートワーク</source>
        <translation>Artwork</translation>
    </message>
    <message>
        <source>WMPビデオ画面</source>
        <translation>Video window</translation>
    </message>
    <message>
        <source>全画面表示</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>常に手前に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>リストに従ってファイル名を一括変更します</source>
        <translation>Renames files in bulk from a list</translation>
    </message>
    <message>
        <source>実行パス</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>ファイル名の変更</source>
        <translation>Rename files</translation>
    </message>
    <message>
        <source>逆</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>カンマ区切り</source>
        <translation>Commas</translation>
    </message>
    <message>
        <source>タブ区切り</source>
        <translation>Tabs</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Brindleのﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About Brindle</translation>
    </message>
    <message>
        <source>Brindle のﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About Brindle...</translation>
    </message>
    <message>
        <source>変更前</source>
        <translation>Old name</translation>
    </message>
    <message>
        <source>変更後</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>ファイル&quot;%s&quot;が存在しません</source>
        <translation>The file &quot;%s&quot; does not exist</translation>
    </message>
    <message>
        <source>ファイル&quot;%s&quot;は既に存在します。上書きしますか？</source>
        <translation>The file &quot;%s&quot; already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>%d個のファイル名を変更しました！</source>
        <translation>%d files renamed!</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>%d個のファイル名を元に戻しました</source>
        <translation>%d file names restored</translation>
    </message>
    <message>
        <source>%d個のファイル名を元に戻せませんでした:</source>
        <translation>%d file names could not be restored:</translation>
    </message>
    <message>
        <source>%d個のファイル名を変更できませんでした:</source>
        <translation>%d files could not be renamed:</translation>
    </message>
    <message>
        <source>ほか%d個</source>
        <translation>and %d more</translation>
    </message>
    <message>
        <source>前回のファイル名の変更が途中で終わっています。
フォルダー: %s
元に戻しますか？</source>
        <translation>The last renaming stopped halfway.
Folder: %s
Undo it?</translation>
    </message>
    <message>
        <source>実行の記録(%s)が壊れているため、元に戻せません</source>
        <translation>The record of the run (%s) is damaged, so it cannot be undone</translation>
    </message>
    <message>
        <source>実行の記録(%s)を書けないため、元に戻すことはできません。このまま実行しますか？</source>
        <translation>The record of the run (%s) cannot be written, so the run could not be undone. Run anyway?</translation>
    </message>
    <message>
        <source>変更後の名前&quot;%s&quot;が空きませんでした</source>
        <translation>The new name &quot;%s&quot; did not become free</translation>
    </message>
    <message>
        <source>%d行目と同じファイルです</source>
        <translation>The same file as row %d</translation>
    </message>
    <message>
        <source>入れ替えを終えられなかったため元に戻しました</source>
        <translation>The exchange could not be finished, so it was put back</translation>
    </message>
    <message>
        <source>一時的な名前&quot;%s&quot;のままです（元に戻すで戻せます）</source>
        <translation>Left under the temporary name &quot;%s&quot; (Undo puts it back)</translation>
    </message>
    <message>
        <source>一時的な名前を使えませんでした</source>
        <translation>A temporary name could not be used</translation>
    </message>
    <message>
        <source>上書きしませんでした</source>
        <translation>Not overwritten</translation>
    </message>
    <message>
        <source>&quot;%s&quot;はファイル名として使えません</source>
        <translation>&quot;%s&quot; cannot be used as a file name</translation>
    </message>
    <message>
        <source>変更後の名前が空です</source>
        <translation>The new name is empty</translation>
    </message>
    <message>
        <source>変更後の名前に改行やタブなどの制御文字が含まれています</source>
        <translation>The new name contains control characters such as line breaks or tabs</translation>
    </message>
    <message>
        <source>%d行目と同じ名前に変更します（上書きを確認します）</source>
        <translation>Renamed to the same name as row %d (overwriting will be confirmed)</translation>
    </message>
    <message>
        <source>ファイル&quot;%s&quot;は既に存在します（上書きを確認します）</source>
        <translation>The file &quot;%s&quot; already exists (overwriting will be confirmed)</translation>
    </message>
    <message>
        <source>元の名前&quot;%s&quot;には、元に戻せなかった別のファイルがあります</source>
        <translation>The old name &quot;%s&quot; is held by another file that could not be restored</translation>
    </message>
    <message>
        <source>フォルダー&quot;%s&quot;を開けないため、元に戻せませんでした。
フォルダーを使えるようにしてから、もう一度元に戻してください。</source>
        <translation>The folder &quot;%s&quot; cannot be opened, so nothing was undone.
Make the folder available, then undo again.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>名前が長すぎます</source>
        <translation>The name is too long</translation>
    </message>
    <message>
        <source>アクセスが拒否されました</source>
        <translation>Access denied</translation>
    </message>
    <message>
        <source>読み取り専用のファイルシステムです</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>変更後の名前のフォルダーがあります</source>
        <translation>A folder has the new name</translation>
    </message>
    <message>
        <source>フォルダーをファイルの名前に変更できません</source>
        <translation>A folder cannot take the name of a file</translation>
    </message>
    <message>
        <source>使用中です</source>
        <translation>In use</translation>
    </message>
    <message>
        <source>ディスクに空きがありません</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>ルビ</source>
        <translation>Ruby</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>指定のみ</source>
        <translation>Written only</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>漢字の上に読みがなを表示します (自動: 歌詞ファイルにない読みを辞書で補います)</source>
        <translation>Shows kana readings above kanji (Automatic: the dictionary supplies readings the lyric file lacks)</translation>
    </message>
    <message>
        <source>再生中の曲はこの歌詞の曲ではないため、タイムタグは打てません。
この歌詞の曲を再生すると打てるようになります。

</source>
        <translation>The track playing is not the track of these lyrics: no time tags can be stamped.
Play the track of these lyrics to stamp them.

</translation>
    </message>
    <message>
        <source>ステージ表示</source>
        <translation>Stage view</translation>
    </message>
    <message>
        <source>歌詞を別の画面に全画面で大きく表示します (F11)</source>
        <translation>Shows the lyrics large, full screen on another screen (F11)</translation>
    </message>
    <message>
        <source>ステージ表示の画面</source>
        <translation>Screen for the stage view</translation>
    </message>
    <message>
        <source>日本語 (シフトJIS)</source>
        <translation>Japanese (Shift JIS)</translation>
    </message>
    <message>
        <source>日本語 (EUC)</source>
        <translation>Japanese (EUC)</translation>
    </message>
    <message>
        <source>日本語 (JIS)</source>
        <translation>Japanese (JIS)</translation>
    </message>
    <message>
        <source>西ヨーロッパ言語 (Windows)</source>
        <translation>Western European (Windows)</translation>
    </message>
    <message>
        <source>西ヨーロッパ言語 (ISO)</source>
        <translation>Western European (ISO)</translation>
    </message>
    <message>
        <source>簡体字中国語 (GB2312)</source>
        <translation>Chinese Simplified (GB2312)</translation>
    </message>
    <message>
        <source>繁体字中国語 (Big5)</source>
        <translation>Chinese Traditional (Big5)</translation>
    </message>
    <message>
        <source>韓国語</source>
        <translation>Korean</translation>
    </message>
    <message>
        <source>タイ語</source>
        <translation>Thai</translation>
    </message>
    <message>
        <source>中央ヨーロッパ言語</source>
        <translation>Central European</translation>
    </message>
    <message>
        <source>キリル言語</source>
        <translation>Cyrillic</translation>
    </message>
    <message>
        <source>ギリシャ語</source>
        <translation>Greek</translation>
    </message>
    <message>
        <source>トルコ語</source>
        <translation>Turkish</translation>
    </message>
    <message>
        <source>ヘブライ語</source>
        <translation>Hebrew</translation>
    </message>
    <message>
        <source>アラビア語</source>
        <translation>Arabic</translation>
    </message>
    <message>
        <source>バルト言語</source>
        <translation>Baltic</translation>
    </message>
    <message>
        <source>ベトナム語</source>
        <translation>Vietnamese</translation>
    </message>
    <message>
        <source>設定</source>
        <comment>the button that applies the settings</comment>
        <translation>OK</translation>
    </message>
</context>
</TS>
