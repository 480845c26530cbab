"""The texts of a page picture written by velmora-convert --svg, in drawing order. A vertical
text is one element whose characters stand in tspans of their own."""
import html
import re


def svg_texts(svg):
    return [html.unescape(re.sub(r"<[^>]+>", "", body)) for body in re.findall(r"<text[^>]*>(.*?)</text>", svg)]
