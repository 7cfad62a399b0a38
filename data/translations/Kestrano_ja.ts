<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>Kestrano</name>
    <message>
        <source>It is shuffuling now</source>
        <translation>カードをシャッフルしています</translation>
    </message>
    <message>
        <source>It has shuffuled Ok</source>
        <translation>シャッフルが終わりました</translation>
    </message>
    <message>
        <source>Title:12-1</source>
        <translation>タイトル：12-1</translation>
    </message>
    <message>
        <source>Deal cards</source>
        <translation>カードを配る</translation>
    </message>
    <message>
        <source>Card deal</source>
        <translation>カードを配ります</translation>
    </message>
    <message>
        <source>Card open</source>
        <translation>カードを開く</translation>
    </message>
    <message>
        <source>CPU=%1,User=%2,tie=%3</source>
        <translation>CPU=%1、ユーザー=%2、引き分け=%3</translation>
    </message>
    <message>
        <source>Round %1</source>
        <translation>第%1ラウンド</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>User lose</source>
        <translation>ユーザーの負け</translation>
    </message>
    <message>
        <source>User win</source>
        <translation>ユーザーの勝ち</translation>
    </message>
    <message>
        <source>This is tie It&apos;s no count</source>
        <translation>引き分けです（ノーカウント）</translation>
    </message>
    <message>
        <source>CPU=%1,User=%2,tie=%3 

CPU Win,You lose</source>
        <translation>CPU=%1、ユーザー=%2、引き分け=%3 

CPUの勝ち、あなたの負けです</translation>
    </message>
    <message>
        <source>CPU=%1,User=%2,tie=%3 

You Win,CPU lose</source>
        <translation>CPU=%1、ユーザー=%2、引き分け=%3 

あなたの勝ち、CPUの負けです</translation>
    </message>
    <message>
        <source>CPU=%1,User=%2,tie=%3 

You CPU,You tie</source>
        <translation>CPU=%1、ユーザー=%2、引き分け=%3 

あなたとCPUの引き分けです</translation>
    </message>
    <message>
        <source>information</source>
        <translation>お知らせ</translation>
    </message>
    <message>
        <source>&amp;Game</source>
        <translation>ゲーム(&amp;G)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>Game start</source>
        <translation>ゲーム開始</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>Game Start</source>
        <translation>ゲームを開始します</translation>
    </message>
    <message>
        <source>close</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>Explain</source>
        <translation>遊び方</translation>
    </message>
    <message>
        <source>How to Play Explain</source>
        <translation>遊び方の説明を表示します</translation>
    </message>
    <message>
        <source>Push Card deal button</source>
        <translation>「カードを配る」ボタンを押してください</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Are u really close</source>
        <translation>本当に終了しますか？</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%2の%1</translation>
    </message>
    <message>
        <source>Spades</source>
        <translation>スペード</translation>
    </message>
    <message>
        <source>Clubs</source>
        <translation>クラブ</translation>
    </message>
    <message>
        <source>Hearts</source>
        <translation>ハート</translation>
    </message>
    <message>
        <source>Diamonds</source>
        <translation>ダイヤ</translation>
    </message>
    <message>
        <source>Ace</source>
        <translation>エース</translation>
    </message>
    <message>
        <source>Two</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Three</source>
        <translation>3</translation>
    </message>
    <message>
        <source>Four</source>
        <translation>4</translation>
    </message>
    <message>
        <source>Five</source>
        <translation>5</translation>
    </message>
    <message>
        <source>Six</source>
        <translation>6</translation>
    </message>
    <message>
        <source>Seven</source>
        <translation>7</translation>
    </message>
    <message>
        <source>Eight</source>
        <translation>8</translation>
    </message>
    <message>
        <source>Nine</source>
        <translation>9</translation>
    </message>
    <message>
        <source>Ten</source>
        <translation>10</translation>
    </message>
    <message>
        <source>Jack</source>
        <translation>ジャック</translation>
    </message>
    <message>
        <source>Queen</source>
        <translation>クイーン</translation>
    </message>
    <message>
        <source>King</source>
        <translation>キング</translation>
    </message>
    <message>
        <source>face-down card</source>
        <translation>裏向きのカード</translation>
    </message>
    <message>
        <source>Spade A draw card</source>
        <translation>配られたカード：スペードのA</translation>
    </message>
    <message>
        <source>Spade 2 draw card</source>
        <translation>配られたカード：スペードの2</translation>
    </message>
    <message>
        <source>Spade 3 draw card</source>
        <translation>配られたカード：スペードの3</translation>
    </message>
    <message>
        <source>Spade 4 draw card</source>
        <translation>配られたカード：スペードの4</translation>
    </message>
    <message>
        <source>Spade 5 draw card</source>
        <translation>配られたカード：スペードの5</translation>
    </message>
    <message>
        <source>Spade 6 draw card</source>
        <translation>配られたカード：スペードの6</translation>
    </message>
    <message>
        <source>Spade 7 draw card</source>
        <translation>配られたカード：スペードの7</translation>
    </message>
    <message>
        <source>Spade 8 draw card</source>
        <translation>配られたカード：スペードの8</translation>
    </message>
    <message>
        <source>Spade 9 draw card</source>
        <translation>配られたカード：スペードの9</translation>
    </message>
    <message>
        <source>Spade 10 draw card</source>
        <translation>配られたカード：スペードの10</translation>
    </message>
    <message>
        <source>Spade Jack draw card</source>
        <translation>配られたカード：スペードのジャック</translation>
    </message>
    <message>
        <source>Spade Queen draw card</source>
        <translation>配られたカード：スペードのクイーン</translation>
    </message>
    <message>
        <source>Spade King draw card</source>
        <translation>配られたカード：スペードのキング</translation>
    </message>
    <message>
        <source>Kurobar A draw card</source>
        <translation>配られたカード：クラブのA</translation>
    </message>
    <message>
        <source>Kurobar 2 draw card</source>
        <translation>配られたカード：クラブの2</translation>
    </message>
    <message>
        <source>Kurobar 3 draw card</source>
        <translation>配られたカード：クラブの3</translation>
    </message>
    <message>
        <source>Kurobar 4 draw card</source>
        <translation>配られたカード：クラブの4</translation>
    </message>
    <message>
        <source>Kurobar 5 draw card</source>
        <translation>配られたカード：クラブの5</translation>
    </message>
    <message>
        <source>Kurobar 6 draw card</source>
        <translation>配られたカード：クラブの6</translation>
    </message>
    <message>
        <source>Kurobar 7 draw card</source>
        <translation>配られたカード：クラブの7</translation>
    </message>
    <message>
        <source>Kurobar 8 draw card</source>
        <translation>配られたカード：クラブの8</translation>
    </message>
    <message>
        <source>Kurobar 9 draw card</source>
        <translation>配られたカード：クラブの9</translation>
    </message>
    <message>
        <source>Kurobar 10 draw card</source>
        <translation>配られたカード：クラブの10</translation>
    </message>
    <message>
        <source>Kurobar Jack draw card</source>
        <translation>配られたカード：クラブのジャック</translation>
    </message>
    <message>
        <source>Kurobar Queen draw card</source>
        <translation>配られたカード：クラブのクイーン</translation>
    </message>
    <message>
        <source>Kurobar King draw card</source>
        <translation>配られたカード：クラブのキング</translation>
    </message>
    <message>
        <source>Hurt A draw card</source>
        <translation>配られたカード：ハートのA</translation>
    </message>
    <message>
        <source>Hurt 2 draw card</source>
        <translation>配られたカード：ハートの2</translation>
    </message>
    <message>
        <source>Hurt 3 draw card</source>
        <translation>配られたカード：ハートの3</translation>
    </message>
    <message>
        <source>Hurt 4 draw card</source>
        <translation>配られたカード：ハートの4</translation>
    </message>
    <message>
        <source>Hurt 5 draw card</source>
        <translation>配られたカード：ハートの5</translation>
    </message>
    <message>
        <source>Hurt 6 draw card</source>
        <translation>配られたカード：ハートの6</translation>
    </message>
    <message>
        <source>Hurt 7 draw card</source>
        <translation>配られたカード：ハートの7</translation>
    </message>
    <message>
        <source>Hurt 8 draw card</source>
        <translation>配られたカード：ハートの8</translation>
    </message>
    <message>
        <source>Hurt 9 draw card</source>
        <translation>配られたカード：ハートの9</translation>
    </message>
    <message>
        <source>Hurt 10 draw card</source>
        <translation>配られたカード：ハートの10</translation>
    </message>
    <message>
        <source>Hurt Jack draw card</source>
        <translation>配られたカード：ハートのジャック</translation>
    </message>
    <message>
        <source>Hurt Queen draw card</source>
        <translation>配られたカード：ハートのクイーン</translation>
    </message>
    <message>
        <source>Hurt King draw card</source>
        <translation>配られたカード：ハートのキング</translation>
    </message>
    <message>
        <source>Dia A draw card</source>
        <translation>配られたカード：ダイヤのA</translation>
    </message>
    <message>
        <source>Dia 2 draw card</source>
        <translation>配られたカード：ダイヤの2</translation>
    </message>
    <message>
        <source>Dia 3 draw card</source>
        <translation>配られたカード：ダイヤの3</translation>
    </message>
    <message>
        <source>Dia 4 draw card</source>
        <translation>配られたカード：ダイヤの4</translation>
    </message>
    <message>
        <source>Dia 5 draw card</source>
        <translation>配られたカード：ダイヤの5</translation>
    </message>
    <message>
        <source>Dia 6 draw card</source>
        <translation>配られたカード：ダイヤの6</translation>
    </message>
    <message>
        <source>Dia 7 draw card</source>
        <translation>配られたカード：ダイヤの7</translation>
    </message>
    <message>
        <source>Dia 8 draw card</source>
        <translation>配られたカード：ダイヤの8</translation>
    </message>
    <message>
        <source>Dia 9 draw card</source>
        <translation>配られたカード：ダイヤの9</translation>
    </message>
    <message>
        <source>Dia 10 draw card</source>
        <translation>配られたカード：ダイヤの10</translation>
    </message>
    <message>
        <source>Dia Jack draw card</source>
        <translation>配られたカード：ダイヤのジャック</translation>
    </message>
    <message>
        <source>Dia Queen draw card</source>
        <translation>配られたカード：ダイヤのクイーン</translation>
    </message>
    <message>
        <source>Dia King draw card</source>
        <translation>配られたカード：ダイヤのキング</translation>
    </message>
    <message>
        <source>dia A draw card</source>
        <translation>配られたカード：ダイヤのA</translation>
    </message>
    <message>
        <source>dia 2 draw card</source>
        <translation>配られたカード：ダイヤの2</translation>
    </message>
    <message>
        <source>dia 3 draw card</source>
        <translation>配られたカード：ダイヤの3</translation>
    </message>
    <message>
        <source>dia 4 draw card</source>
        <translation>配られたカード：ダイヤの4</translation>
    </message>
    <message>
        <source>dia 5 draw card</source>
        <translation>配られたカード：ダイヤの5</translation>
    </message>
    <message>
        <source>dia 6 draw card</source>
        <translation>配られたカード：ダイヤの6</translation>
    </message>
    <message>
        <source>dia 7 draw card</source>
        <translation>配られたカード：ダイヤの7</translation>
    </message>
    <message>
        <source>dia 8 draw card</source>
        <translation>配られたカード：ダイヤの8</translation>
    </message>
    <message>
        <source>dia 9 draw card</source>
        <translation>配られたカード：ダイヤの9</translation>
    </message>
    <message>
        <source>dia 10 draw card</source>
        <translation>配られたカード：ダイヤの10</translation>
    </message>
    <message>
        <source>dia Jack draw card</source>
        <translation>配られたカード：ダイヤのジャック</translation>
    </message>
    <message>
        <source>dia Queen draw card</source>
        <translation>配られたカード：ダイヤのクイーン</translation>
    </message>
    <message>
        <source>dia King draw card</source>
        <translation>配られたカード：ダイヤのキング</translation>
    </message>
    <message>
        <source>Dia 04 draw card</source>
        <translation>配られたカード：ダイヤの4</translation>
    </message>
    <message>
        <source>Ready to deal cards</source>
        <translation>カードを配れます</translation>
    </message>
    <message>
        <source>%1. Your cards: %2</source>
        <translation>%1。あなたのカード：%2</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between two cards</comment>
        <translation>、</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>You play %1</source>
        <translation>%1を出しました</translation>
    </message>
    <message>
        <source>CPU opens %1. %2. %3</source>
        <translation>CPUは%1を開きました。%2。%3</translation>
    </message>
    <message>
        <source>%1. %2</source>
        <comment>one announcement after another</comment>
        <translation>%1。%2</translation>
    </message>
</context>
<context>
    <name>Version</name>
    <message>
        <source>Version</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>&lt;Font color=black&gt;Title:&lt;/Font&gt;&lt;Font Color=red&gt;Mirabun&lt;/Font&gt;</source>
        <translation>&lt;Font color=black&gt;タイトル：&lt;/Font&gt;&lt;Font Color=red&gt;Mirabun&lt;/Font&gt;</translation>
    </message>
    <message>
        <source>&lt;Font color=black&gt;Version:&lt;/Font&gt;&lt;Font Color=blue&gt; Version 1.00 Free C Version&lt;/Font&gt;</source>
        <translation>&lt;Font color=black&gt;バージョン：&lt;/Font&gt;&lt;Font Color=blue&gt; バージョン 1.00 フリー C 版&lt;/Font&gt;</translation>
    </message>
    <message>
        <source>&lt;Font color=black&gt;staff:&lt;/Font&gt;&lt;Font color=blue size=3&gt;Torvane,Quellmir</source>
        <translation>&lt;Font color=black&gt;スタッフ：&lt;/Font&gt;&lt;Font color=blue size=3&gt;Torvane、Quellmir</translation>
    </message>
    <message>
        <source>about staff</source>
        <translation>スタッフ紹介</translation>
    </message>
    <message>
        <source>&lt;Font color=black&gt;Type: &lt;/Font&gt;&lt;Font Color=red&gt;Free Ware&lt;/Font&gt;</source>
        <translation>&lt;Font color=black&gt;種類： &lt;/Font&gt;&lt;Font Color=red&gt;フリーウェア&lt;/Font&gt;</translation>
    </message>
    <message>
        <source> O k </source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Author:&lt;Font color=Blue&gt;Torvane&lt;/font&gt;</source>
        <translation>作者：&lt;Font color=Blue&gt;Torvane&lt;/font&gt;</translation>
    </message>
    <message>
        <source>Author e-mail:&lt;Font color=red&gt;torvane@example.org&lt;/font&gt;</source>
        <translation>作者のメール：&lt;Font color=red&gt;torvane@example.org&lt;/font&gt;</translation>
    </message>
    <message>
        <source>Sound:&lt;Font color=Blue&gt;Quellmir&lt;/Font&gt;</source>
        <translation>サウンド：&lt;Font color=Blue&gt;Quellmir&lt;/Font&gt;</translation>
    </message>
    <message>
        <source>Sound e-mail:&lt;Font color=red&gt;quellmir@example.org&lt;/Font&gt;</source>
        <translation>サウンドのメール：&lt;Font color=red&gt;quellmir@example.org&lt;/Font&gt;</translation>
    </message>
</context>
</TS>
