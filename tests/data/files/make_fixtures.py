#!/usr/bin/env python3
"""Writes the encoding fixtures of the files-layer tests into this folder.

The bytes come from tests/data/cp932-windows.tsv, the project's reference table of code page
932, not from Python's own codec (which differs from Windows in places). Every fixture is
checked against the same table: the valid ones must decode, the invalid ones must not.
Run it again after changing a fixture; the files are committed so the tests need no Python.
"""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent
TABLE = HERE.parent / "cp932-windows.tsv"

decode = {}  # bytes -> character
encode = {}  # character -> the bytes Windows writes for it
for line in TABLE.read_text(encoding="ascii").splitlines():
    if not line or line.startswith("#"):
        continue
    code, char, written = line.split("\t")
    decode[bytes.fromhex(code)] = chr(int(char[2:], 16))
    encode.setdefault(chr(int(char[2:], 16)), bytes.fromhex(written))


def to_cp932(text):
    return b"".join(encode[c] for c in text)


def is_valid(data):
    i = 0
    while i < len(data):
        if data[i:i + 1] in decode:
            i += 1
        elif data[i:i + 2] in decode:
            i += 2
        else:
            return False
    return True


def from_cp932(data):
    out, i = [], 0
    while i < len(data):
        n = 1 if data[i:i + 1] in decode else 2
        out.append(decode[data[i:i + n]])
        i += n
    return "".join(out)


valid = {
    # half-width katakana (single bytes A1-DF) between ASCII and full-width text, CRLF
    "cp932-kana.txt": to_cp932("ｶﾗｵｹ [00:12:34]ﾀｲﾑﾀｸﾞ\r\n歌詞 ｡｢ｰ｣\r\n"),
    # NEC special characters, lead byte 87 (row 13), with LF only
    "cp932-nec13.txt": to_cp932("①⑳ⅠⅩ㍉㌔№㏍℡㊤㈱㍻\n"),
    # IBM extension characters, lead bytes FA-FC, with CR only
    "cp932-ibm.txt": to_cp932("ⅰⅹ￤＇＂纊褜鍈銈蓜﨑髙黑\r"),
    # codes that decode normally but that Windows writes back under another code:
    # ED40/ED41 (NEC-selected IBM extension) and 8790/879A (NEC row 13 duplicates of row 2)
    "cp932-rewritten.txt": bytes.fromhex("ED40 ED41 8790 879A"),
}
invalid = {
    "invalid-lead-at-end.txt": to_cp932("歌詞\r\nabc") + bytes.fromhex("82"),
    "invalid-bad-trail.txt": to_cp932("歌詞\r\n") + bytes.fromhex("8220") + b"abc\r\n",
    "utf8-japanese.txt": "タイムタグ付き歌詞\r\n[00:01:00]うた\r\n".encode("utf-8"),
}

# Lyrics as editors write them. The same song in each encoding: kana, kanji, the wave dash that
# JIS-based converters write as U+301C (code page 932 has U+FF5E under the same code), and a
# line of half-width katakana; written as a combine writes, so that a divide and a combine give
# back the same bytes.
SONG = ("[00:01:00]夜[00:01:40]空[00:01:80]に〜[00:02:20]ひかる\r\n"
        "[00:03:00]ｶﾗｵｹ[00:03:50]ﾀｲﾑ\r\n"
        "\r\n"
        "@Title=星のうた\r\n")
editors = {
    "song-utf8.lrc": SONG.encode("utf-8"),
    "song-utf8bom.lrc": b"\xef\xbb\xbf" + SONG.encode("utf-8"),
    "song-utf16le.lrc": b"\xff\xfe" + SONG.encode("utf-16-le"),
    "song-cp932.lrc": to_cp932(SONG.replace("〜", "～")),
    # Beyond code page 932: its CRC is taken over UTF-8, and its TTD file is UTF-8 as well. The
    # "あ" at the line's end leaves a lead byte before CR in code page 932, so that its source
    # lyrics have no second reading.
    "song-emoji.lrc": "[00:01:00]星🌟[00:02:00]♡あ\r\n\r\n@Title=🌟\r\n".encode("utf-8"),
    # Code page 932 that happens to be valid UTF-8: half-width katakana pairs such as ﾂｱ (C2 B1)
    # read as UTF-8 "±".
    "cp932-as-utf8.lrc": to_cp932("[00:01:00]ﾂｱ[00:02:00]ﾃｶ\r\n\r\n"),
}
for name, data in editors.items():
    (HERE / name).write_bytes(data)
assert not is_valid("星🌟♡あ\r\n".encode("utf-8"))
assert editors["cp932-as-utf8.lrc"].decode("utf-8") == "[00:01:00]±[00:02:00]ö\r\n\r\n"

for name, data in valid.items():
    assert is_valid(data), name
    (HERE / name).write_bytes(data)
for name, data in invalid.items():
    assert not is_valid(data), name
    (HERE / name).write_bytes(data)

assert to_cp932(from_cp932(valid["cp932-rewritten.txt"])) == bytes.fromhex("FA5CFA5D81E081E6")
