#!/usr/bin/env python3
"""Writes the sample mail folder examples/inbox in CP932 (run from the repository root or here).

The sample command searches the bodies of unread mails for 会議; the folder holds mails that
match in the body, only in the subject, only when read, and near misses."""
import os

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "inbox")

MAILS = [
    # file, flags, subject, body, line end
    ("01.eml", "", "来週の会議について", "田中です。\n来週の会議は火曜日の十時からです。\n資料は前日までにお送りします。\n", "\n"),
    ("02.eml", "", "会議室の予約", "鈴木です。\n明日は大部屋を押さえました。\n", "\n"),
    ("03.eml", "R", "Re: 予算会議", "佐藤です。\n予算会議の議事録を添付します。\n", "\r\n"),
    ("04.eml", "", "お昼のお知らせ", "本日のお弁当は十二時に届きます。\n", "\n"),
    ("05.eml", "S", "ソフトウェア更新", "高橋です。\nソフトウェア更新の件、次の会議で決めましょう。\n", "\r\n"),
    ("06.eml", "", "表計算の使い方", "伊藤です。\n表計算ソフトの使い方をまとめました。\n", "\n"),
    ("07.eml", "", "会議の日程調整", "渡辺です。\n会議の候補日を三つ挙げます。\n・月曜\n・水曜\n・金曜\n", "\n"),
    ("08.eml", "RS", "出張報告", "山本です。\n大阪出張の報告です。\n", "\n"),
    ("09.eml", "", "Weekly report", "中村です。\nWEEKLY の会議メモです。\n", "\r\n"),
    ("10.eml", "", "懇親会のご案内", "小林です。\n懇親会は 会 議 室ではなく食堂で行います。\n", "\n"),
    ("11.eml", "RS", "会議のお礼", "加藤です。\n先日の会議ではありがとうございました。\n", "\n"),
    ("12.eml", "", "定例", "吉田です。\n明日の定例会議は中止です。\n", "\n"),
]

os.makedirs(HERE, exist_ok=True)
for i, (name, flags, subject, body, eol) in enumerate(MAILS, 1):
    header = [
        f"From: sender{i}@example.jp",
        "To: you@example.jp",
        f"Subject: {subject}",
        f"Date: Mon, {i} Dec 2026 09:{i:02d}:00 +0900",
        f"Message-ID: <sample{i}@example.jp>",
        "MIME-Version: 1.0",
        "Content-Type: text/plain; charset=Shift_JIS",
    ]
    text = eol.join(header) + eol + eol + body.replace("\n", eol)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(text.encode("cp932"))

state = ["; Stand-in host folder state: one line per mail, flags R read, S selected, - neither",
         "name=受信箱"]
state += [f"{name} {flags or '-'}" for name, flags, *_ in MAILS]
with open(os.path.join(HERE, "folder.state"), "wb") as f:
    f.write(("\r\n".join(state) + "\r\n").encode("cp932"))
