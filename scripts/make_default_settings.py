#!/usr/bin/env python3
"""Writes data/VELMORA.JWF, the default settings file shipped beside both programs, as Shift-JIS
with CR LF line ends. A line that starts with no keyword is a comment, so every explanation
line starts with '#'."""
import os

TEXT = """\
# VELMORA.JWF  Velmora の設定ファイル / Velmora settings file
# キーワードは行頭に大文字で書きます。それ以外で始まる行は注釈です。
# Keywords stand at the very start of a line, in upper case; any other line is a comment.
#
# 画面の色 (赤 緑 青, 0..255): LCOLLOR_B 背景、LCOLLOR_1..8 ペン1..8、LCOLLOR_H 縮尺の印
# Screen colours (red green blue, 0..255): B background, 1..8 pens 1..8, H scale marks.
LCOLLOR_B 158 158 158
LCOLLOR_1 255 0 0
LCOLLOR_2 0 255 0
LCOLLOR_3 0 0 255
LCOLLOR_4 255 255 0
LCOLLOR_5 0 255 255
LCOLLOR_6 255 0 255
LCOLLOR_7 255 255 255
LCOLLOR_8 127 127 127
LCOLLOR_H 255 0 0
#
# ペンの線幅: 4番目の数 (1..255) がペンの幅です。細い線ほど細いペンに割り当てます。
# Pen widths: the fourth number (1..255) is the pen's width; thin lines get thin pens.
PCOLLOR_1 0 0 0 10
PCOLLOR_2 0 0 0 15
PCOLLOR_3 0 0 0 15
PCOLLOR_4 0 0 0 20
PCOLLOR_5 0 0 0 20
PCOLLOR_6 0 0 0 25
PCOLLOR_7 0 0 0 25
PCOLLOR_8 0 0 0 30
#
# 文字のペン番号 (1..8) / Pen of every text (1..8).
FontColor 1
#
# 書体の置き換え: FontChange/PDF の書体名の一部/JWW の書体名 (先に書いたものが優先、最大50組)
# Font substitution: FontChange/part of the PDF font name/JWW font name (first match wins, 50 at most).
FontChange/Mincho/ＭＳ 明朝
FontChange/Gothic/ＭＳ ゴシック
#
# 置き換えのない書体の JWW 書体名 / JWW font name of every other font.
FontDefault/ＭＳ ゴシック
#
# ホイールの向き: 2 で逆向き (手前で拡大) / Wheel direction: 2 reverses it (zoom in when turned back).
WHEEL 1
#
# PDF のレイヤ: 1 で PDF のレイヤごとに Jw_cad のレイヤへ (名前と非表示も)、0 で線の太さ別
# PDF layers: 1 gives each PDF layer its own Jw_cad layer (with its name and hidden state), 0 sorts by width.
PDFLAYER 1
#
# 曲線の円弧化: 1 で円・円弧・楕円を Jw_cad の円弧として書きます (0 は10本の線分)。
# Curves as arcs: 1 writes circles, arcs and ellipses as Jw_cad arcs (0: ten straight pieces each).
ARC 1
#
# 塗りつぶし: 1 で色付きのソリッド図形、0 で輪郭線 / Fills: 1 writes them as solids in their colours, 0 as outlines.
SOLID 1
#
# 図面の縮尺: 1 で PDF が記す縮尺 (ビューポートの計測、表題欄の「S=1/100」など) を開くときに尋ね、レポートに書きます。
# Stated scale: 1 offers the scale the PDF states (viewport measure, a title block's "S=1/100") when a file opens, and lists it in the report.
PDFSCALE 1
#
# 文字列の結合: 1 で一文字ずつ置かれた文字を同じ基線・書体・大きさの文字列にまとめます (0: PDF の置き方のまま)。
# Texts as strings: 1 joins glyphs placed one by one on a base line (same font and size) into one text (0: as placed).
TEXTMERGE 1
#
# 縦書きの文字: 1 で縦書きフォントの文字列と、一文字ずつ縦に積まれた全角文字 (TEXTMERGE 1 のとき) を縦字の文字列にします (0: 横書きとして)。
# Vertical texts: 1 writes vertical fonts' strings, and full-width glyphs stacked one under another (with TEXTMERGE 1), as vertical texts (0: as horizontal ones).
TEXTVERTICAL 1
#
# END 以降は読みません / Nothing after END is read.
END
"""


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "VELMORA.JWF")
    with open(path, "wb") as f:
        f.write(TEXT.replace("\n", "\r\n").encode("cp932"))
    print(os.path.normpath(path))


if __name__ == "__main__":
    main()
