#!/usr/bin/env python3
"""Writes hostile PDFs that aim at the reader's amplifications: lengths past the file, one object
named many times, long unclosed or space-less runs. Each kind has a full size (the files measured
by measure_crafted.sh) and a small size (the kind of file kept in regressions/).

  crafted_pdfs.py DIR [--small] [KIND ...]     writes DIR/KIND.pdf for every (or each named) kind
"""
import os
import struct
import sys
import zlib

CATALOG = b"<</Type/Catalog/Pages 2 0 R>>"
ONE_LINE = b"<</Length 13>>\nstream\n0 0 m 1 1 l S\nendstream"


def page(contents, resources=b"<<>>"):
    return b"<</Type/Page/Parent 2 0 R/MediaBox [0 0 595 842]/Resources %s/Contents %s>>" % (resources, contents)


def pages_node(first, count):
    kids = b" ".join(b"%d 0 R" % (first + p) for p in range(count))
    return b"<</Type/Pages/Count %d/Kids [%s]>>" % (count, kids)


def classic_pdf(objects, filler=b"", in_filler=None, size=None):
    """objects: number -> body. `filler` goes between the last object and the table; `in_filler`
    maps further entries to offsets inside the filler; `size` may exceed the objects held."""
    out = bytearray(b"%PDF-1.4\n")
    offsets = {}
    for n in sorted(objects):
        offsets[n] = len(out)
        out += b"%d 0 obj\n" % n + objects[n] + b"\nendobj\n"
    for n, offset in (in_filler or {}).items():
        offsets.setdefault(n, len(out) + offset)
    out += filler
    size = max(size or 0, max(objects) + 1)
    table = len(out)
    out += b"xref\n0 %d\n" % size
    for n in range(size):
        out += (b"%010d 00000 n\r\n" % offsets[n]) if n in offsets else b"0000000000 65535 f\r\n"
    out += b"trailer\n<</Size %d/Root 1 0 R>>\nstartxref\n%d\n%%%%EOF\n" % (size, table)
    return bytes(out)


def xref_row(kind, field2, field3, previous):
    """One PNG-Up row of a /W [1 4 2] cross-reference stream; returns (row bytes, raw row)."""
    row = struct.pack(">BIH", kind, field2, field3)
    return b"\x02" + bytes((row[k] - previous[k]) & 255 for k in range(7)), row


def xref_rows(rows):
    data = bytearray()
    previous = bytes(7)
    for kind, field2, field3 in rows:
        encoded, previous = xref_row(kind, field2, field3, previous)
        data += encoded
    return zlib.compress(bytes(data), 9)


def xref_section(number, size, data, extra=b""):
    return (b"%d 0 obj\n<</Type/XRef/Size %d/Root 1 0 R/W [1 4 2]%s/Filter/FlateDecode"
            b"/DecodeParms <</Columns 7/Predictor 12>>/Length %d>>\nstream\n" % (number, size, extra, len(data))
            + data + b"\nendstream\nendobj\n")


def object_streams_past_the_file(scale):
    """Object streams whose Length reaches past the file, each inflating to about 1 MB."""
    streams = scale(800, 40)
    out = bytearray(b"%PDF-1.5\n")
    offsets = {}
    for n, body in [(1, CATALOG), (2, b"<</Type/Pages/Count 1/Kids [3 0 R]>>"),
                    (3, b"<</Type/Page/Parent 2 0 R/MediaBox [0 0 595 842]>>")]:
        offsets[n] = len(out)
        out += b"%d 0 obj\n" % n + body + b"\nendobj\n"
    payload = zlib.compress(b"4 0 <<>>" + b" " * 1000000, 9)
    first = 10
    for i in range(streams):
        offsets[first + i] = len(out)
        out += (b"%d 0 obj\n<</Type/ObjStm/N 1/First 4/Filter/FlateDecode/Length 999999999>>\nstream\n"
                % (first + i) + payload + b"\nendstream\nendobj\n")
    size = first + 2 * streams
    rows = [(0, 0, 65535)]
    for n in range(1, size):
        if n in offsets:
            rows.append((1, offsets[n], 0))
        elif n >= first + streams:
            rows.append((2, n - streams, 0))
        else:
            rows.append((0, 0, 0))
    table = len(out)
    out += xref_section(size, size + 1, xref_rows(rows), b"/Info 1 0 R/Index [0 %d]" % size)
    out += b"startxref\n%d\n%%%%EOF\n" % table
    return bytes(out)


def contents_one_stream_many_times(scale):
    """One page whose Contents name one deflated stream 256 times; its Length reaches past the file."""
    data = zlib.compress(b"0 0 m 1 1 l S\n" + b" " * scale(8000000, 200000), 9)
    objects = {1: CATALOG, 2: pages_node(3, 1), 3: page(b"[" + b" ".join([b"4 0 R"] * 256) + b"]"),
               4: b"<</Filter/FlateDecode/Length 99999999>>\nstream\n" + data + b"\nendstream"}
    return classic_pdf(objects, filler=(b"%" + b"x" * 200 + b"\n") * scale(1000, 20))


def fonts_share_a_cmap_past_the_file(scale):
    """Many fonts share one ToUnicode stream whose Length reaches past the file."""
    per_page = 80
    fonts = scale(2000, 160)
    pages = (fonts + per_page - 1) // per_page
    first_page, first_font = 10, 100
    cmap = (b"/CIDInit /ProcSet findresource begin 12 dict begin begincmap 1 begincodespacerange <00> <FF> "
            b"endcodespacerange 1 beginbfchar <41> <0041> endbfchar endcmap\n")
    objects = {1: CATALOG, 2: pages_node(first_page, pages), 3: ONE_LINE,
               5: b"<</Length 99999999>>\nstream\n" + cmap + b"\nendstream"}
    for p in range(pages):
        names = b" ".join(b"/F%d %d 0 R" % (i, first_font + p * per_page + i) for i in range(per_page))
        objects[first_page + p] = page(b"3 0 R", b"<</Font <<" + names + b">>>>")
    for f in range(pages * per_page):
        objects[first_font + f] = b"<</Type/Font/Subtype/Type1/BaseFont/Helvetica/ToUnicode 5 0 R>>"
    return classic_pdf(objects, filler=(b"%" + b"x" * 1000 + b"\n") * scale(400, 40))


def prev_chain_past_the_file(scale):
    """A /Prev chain of cross-reference stream sections, each Length past the file."""
    sections, rows_per_section = scale(300, 3), scale(100000, 20000)
    out = bytearray(b"%PDF-1.5\n")
    offsets = {}
    for n, body in [(1, CATALOG), (2, pages_node(3, 1)), (3, page(b"4 0 R")), (4, ONE_LINE),
                    (5, b"<</Producer (x)>>")]:
        offsets[n] = len(out)
        out += b"%d 0 obj\n" % n + body + b"\nendobj\n"
    data = xref_rows([(1, offsets.get(r, offsets[5]), 0) for r in range(rows_per_section)])
    previous = None
    for _ in range(sections):
        position = len(out)
        link = b"/Prev %d" % previous if previous is not None else b""
        section = xref_section(6, rows_per_section, data, b"/Info 5 0 R" + link)
        out += section.replace(b"/Length %d>>" % len(data), b"/Length 99999999>>")
        previous = position
    out += b"startxref\n%d\n%%%%EOF\n" % previous
    return bytes(out)


def entries_point_at_a_run_without_spaces(scale):
    """Every table entry points at one long run of bytes without a space."""
    objects = {1: CATALOG, 2: pages_node(3, 1), 3: page(b"4 0 R"), 4: ONE_LINE}
    count = scale(40000, 4000)
    run = b"x" * scale(400000, 30000) + b"\n"
    return classic_pdf(objects, filler=run, in_filler={n: 0 for n in range(count)}, size=count)


def objects_with_unclosed_dictionaries(scale):
    """Many objects whose dictionaries never close."""
    objects = {1: CATALOG, 2: pages_node(3, 1), 3: page(b"4 0 R"), 4: ONE_LINE}
    count = scale(40000, 2000)
    opened = bytearray()
    in_filler = {}
    for n in range(5, count):
        in_filler[n] = len(opened)
        opened += b"%d 0 obj <<\n" % n
    return classic_pdf(objects, filler=bytes(opened), in_filler=in_filler, size=count)


def contents_name_an_unclosed_array(scale):
    """Pages whose Contents name, 140 times each, an object holding an unclosed array."""
    pages = scale(100, 8)
    objects = {1: CATALOG, 2: pages_node(10, pages), 7: b"[" + b"x" * scale(2000000, 20000)}
    for p in range(pages):
        objects[10 + p] = page(b"[" + b"7 0 R " * 140 + b"]")
    return classic_pdf(objects)


def contents_name_a_long_array_many_times(scale):
    """Pages whose Contents, longer than an entry's text, name one long closed array thousands of times."""
    pages = scale(1000, 5)
    objects = {1: CATALOG, 2: pages_node(10, pages), 7: b"[" + b"x" * 20000 + b"]", 8: b"null"}
    for p in range(pages):
        objects[10 + p] = page(b"[" + b"7 0 R " * scale(2700, 300) + b"]")
    return classic_pdf(objects)


def pages_share_a_page_object_with_a_long_extent(scale):
    """1,023 pages that are all one page object, followed by a long run inside its extent."""
    objects = {1: CATALOG, 2: b"<</Type/Pages/Count 1023/Kids [" + b"3 0 R " * 1023 + b"]>>",
               3: page(b"4 0 R") + b"\n" + b"x" * scale(30000000, 30000), 4: ONE_LINE}
    return classic_pdf(objects)


def lengths_name_a_long_object_without_obj(scale):
    """Content streams whose Length names a long object that has no "obj" to find."""
    pages = scale(1023, 3)
    objects = {1: CATALOG, 2: pages_node(10, pages), 4: b"<</Length 5 0 R>>\nstream\n0 0 m 1 1 l S\nendstream",
               5: b"x" * scale(10000000, 20000), 6: b"null"}
    for p in range(pages):
        objects[10 + p] = page(b"[" + b"4 0 R " * 256 + b"]")
    return classic_pdf(objects).replace(b"5 0 obj\n", b"5 0 xxx\n", 1)


def pages_name_a_large_dictionary(scale):
    """Pages whose Contents name, 140 times each, one object with a large closed dictionary."""
    pages = scale(1000, 10)
    entries = b"".join(b"/K%d %d" % (i, i) for i in range(scale(150000, 2000)))
    objects = {1: CATALOG, 2: pages_node(10, pages), 7: b"<<" + entries + b">>"}
    for p in range(pages):
        objects[10 + p] = page(b"[" + b"7 0 R " * 140 + b"]", b"7 0 R")
    return classic_pdf(objects)


def forms_name_themselves(scale):
    """Forms placing themselves twice at every level, and a page placing them many times."""
    body = b"q 0 1 -1 0 5 5 cm 0 0 m 9 9 l S /A Do /A Do Q\n" + b" " * scale(0, 200)
    form = (b"<</Type/XObject/Subtype/Form/BBox [0 0 9 9]/Matrix [1 0 0 1 1 1]"
            b"/Resources <</XObject <</A 5 0 R>>>>/Length %d>>\nstream\n" % len(body) + body + b"\nendstream")
    content = b"/A Do " * scale(5000, 50) + b"\n"
    objects = {1: CATALOG, 2: pages_node(3, 1), 3: page(b"4 0 R", b"<</XObject <</A 5 0 R>>>>"),
               4: b"<</Length %d>>\nstream\n" % len(content) + content + b"\nendstream", 5: form}
    return classic_pdf(objects)


def sections_name_each_other(scale):
    """A chain of classic sections, each naming the first table as its stream, the newest itself;
    at full size the chain is longer than the reader follows."""
    out = bytearray(classic_pdf({1: CATALOG, 2: pages_node(3, 1), 3: page(b"4 0 R"), 4: ONE_LINE}))
    first = int(out[out.rindex(b"startxref") + 10:].split()[0])
    del out[out.rindex(b"startxref"):]
    previous = first
    for _ in range(scale(20000, 40)):
        position = len(out)
        # Each section names the one before and, as its stream, the first table (no stream at all).
        out += b"xref\n0 1\n0000000000 65535 f\r\ntrailer\n<</Size 5/Root 1 0 R/Prev %d/XRefStm %d>>\n" % (
            previous, first)
        previous = position
    loop = len(out)
    out += b"xref\n0 1\n0000000000 65535 f\r\ntrailer\n<</Size 5/Root 1 0 R/Prev %d/XRefStm %d>>\n" % (previous, loop)
    out += b"startxref\n%d\n%%%%EOF\n" % loop
    return bytes(out)


def layers_nest_deeper_than_the_stack(scale):
    """Optional content: many groups, an /Order nested past its depth, marked content opened far
    deeper than the stack and closed more often than opened, a form in a layer of its own."""
    count = scale(3000, 40)
    groups = {100 + i: b"<</Type/OCG/Name <FEFF%s>>>" % (b"0041" * (i % 50)) for i in range(count)}
    refs = b" ".join(b"%d 0 R" % n for n in groups)
    order = b"[" * 20 + refs + b"]" * 20
    properties = b"<<" + b"".join(b"/P%d %d 0 R" % (i, 100 + i) for i in range(count)) + b"/M 6 0 R>>"
    body = b"/OC /P1 BDC 0 0 m 9 9 l S EMC EMC EMC"
    form = (b"<</Type/XObject/Subtype/Form/BBox [0 0 9 9]/OC 101 0 R/Length %d>>\nstream\n" % len(body) + body +
            b"\nendstream")
    content = (b"/OC /P0 BDC " * scale(5000, 100) + b"/OC /M BDC /A Do 0 0 m 5 5 l S BT /F1 9 Tf (x) Tj ET " +
               b"EMC " * scale(6000, 150) + b"\n")
    objects = {1: b"<</Type/Catalog/Pages 2 0 R/OCProperties <</OCGs [%s]/D <</Order %s/BaseState /OFF/ON [100 0 R]>>>>>>"
                  % (refs, order),
               2: pages_node(3, 1),
               3: page(b"4 0 R", b"<</XObject <</A 5 0 R>>/Properties " + properties + b">>"),
               4: b"<</Length %d>>\nstream\n" % len(content) + content + b"\nendstream", 5: form,
               6: b"<</Type/OCMD/OCGs [7 0 R 102 0 R]/P /AnyOff>>", 7: b"<</Type/OCG/Name (unlisted)>>"}
    objects.update(groups)
    return classic_pdf(objects)


def pages_write_fonts_in_place(scale):
    """Pages whose font dictionaries are written in place: a full set of slots each, one with a
    string holding ">>", one left open, and a form naming another in place."""
    fonts = b"".join(b"/F%d <</Type/Font/Subtype/Type1/BaseFont/T%d/Encoding <</Differences [65 /A%d]>>>>" % (i, i, i)
                     for i in range(300))
    odd = b"/S <</Type/Font/Subtype/Type1/BaseFont/S/Name (>> /F1 7 0 R)>>/U <</Type/Font/Subtype/Type1"
    body = b"BT /F2 9 Tf (A) Tj /S 9 Tf (B) Tj ET"
    form = (b"<</Type/XObject/Subtype/Form/BBox [0 0 9 9]/Resources <</Font <</F1 <</Type/Font/Subtype/Type1"
            b"/BaseFont/Form>>>>>>/Length %d>>\nstream\n" % len(body) + body + b"\nendstream")
    content = b"BT /F0 9 Tf (A) Tj /F299 9 Tf (B) Tj /S 9 Tf (C) Tj ET /X Do\n" * scale(200, 2)
    pages = scale(2000, 3)
    objects = {1: CATALOG, 2: pages_node(10, pages), 4: b"<</Length %d>>\nstream\n" % len(content) + content +
               b"\nendstream", 5: form, 7: b"<</Type/Font/Subtype/Type1/BaseFont/Seven>>"}
    for p in range(pages):
        objects[10 + p] = page(b"4 0 R", b"<</Font <<" + fonts + odd + b">>/XObject <</X 5 0 R>>>>")
    return classic_pdf(objects)


KINDS = [object_streams_past_the_file, contents_one_stream_many_times, fonts_share_a_cmap_past_the_file,
         prev_chain_past_the_file, entries_point_at_a_run_without_spaces, objects_with_unclosed_dictionaries,
         contents_name_an_unclosed_array, contents_name_a_long_array_many_times, pages_name_a_large_dictionary,
         pages_share_a_page_object_with_a_long_extent, lengths_name_a_long_object_without_obj, forms_name_themselves,
         sections_name_each_other, layers_nest_deeper_than_the_stack, pages_write_fonts_in_place]


def main(argv):
    if not argv or argv[0].startswith("-"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    directory, rest = argv[0], argv[1:]
    small = "--small" in rest
    names = [name for name in rest if name != "--small"]
    chosen = [kind for kind in KINDS if not names or kind.__name__ in names]
    unknown = set(names) - {kind.__name__ for kind in KINDS}
    if unknown:
        print("unknown kind: " + ", ".join(sorted(unknown)), file=sys.stderr)
        return 2
    os.makedirs(directory, exist_ok=True)

    def scale(full, reduced):
        return reduced if small else full
    for kind in chosen:
        path = os.path.join(directory, kind.__name__ + ".pdf")
        with open(path, "wb") as f:
            f.write(kind(scale))
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
