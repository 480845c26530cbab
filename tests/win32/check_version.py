#!/usr/bin/env python3
"""Reads the version resource back out of Windows programs, as Explorer's Details tab shows it.

  check_version.py VERSION EXE...   every EXE carries VERSION (file and product version, the fixed
                                    numbers too), the product name, its own file name, a Japanese
                                    description and the Japanese/Unicode translation
  check_version.py --show EXE       prints the resource's strings

Nothing but the PE file itself is read: the resource directory is walked by hand."""
import os
import struct
import sys

RT_VERSION = 16


def sections_of(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    count, = struct.unpack_from("<H", data, pe + 6)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    optional = pe + 24
    magic, = struct.unpack_from("<H", data, optional)
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva, resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
    sections = []
    table = optional + optional_size
    for index in range(count):
        _, virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<8sIIII", data, table + 40 * index)
        sections.append((rva, max(virtual_size, raw_size), raw_offset))
    return sections, resource_rva, resource_size


def file_offset(sections, rva):
    for start, size, raw in sections:
        if start <= rva < start + size:
            return raw + rva - start
    raise ValueError("address 0x%x lies in no section" % rva)


def version_resource(path):
    data = open(path, "rb").read()
    sections, resource_rva, resource_size = sections_of(data)
    if resource_size == 0:
        raise ValueError("no resources")
    base = file_offset(sections, resource_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, base + directory + 12)
        for index in range(named + numbered):
            name, target = struct.unpack_from("<II", data, base + directory + 16 + 8 * index)
            yield name, target

    # Type, then name, then language: the first name and language of RT_VERSION.
    for name, target in entries(0):
        if name == RT_VERSION and target & 0x80000000:
            _, names = next(entries(target & 0x7FFFFFFF))
            _, language = next(entries(names & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", data, base + language)
            start = file_offset(sections, rva)
            return data[start:start + size]
    raise ValueError("no version resource")


def align(offset):
    return (offset + 3) & ~3


def parse_node(block, offset):
    """One VS_VERSIONINFO-shaped node: (key, value bytes, is text, children, end)."""
    length, value_length, value_type = struct.unpack_from("<HHH", block, offset)
    end = offset + length
    key_start = offset + 6
    key_end = key_start
    while block[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = block[key_start:key_end].decode("utf-16-le")
    position = align(key_end + 2)
    value_bytes = value_length * 2 if value_type == 1 else value_length
    value = block[position:position + value_bytes]
    position = align(position + value_bytes)
    children = []
    while position < end:
        child = parse_node(block, position)
        children.append(child)
        position = align(child[4])
    return key, value, value_type == 1, children, end


def read_version(path):
    block = version_resource(path)
    key, fixed, _, children, _ = parse_node(block, 0)
    if key != "VS_VERSION_INFO":
        raise ValueError("the version resource's key is %r" % key)
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != 0xFEEF04BD:
        raise ValueError("no fixed file information")
    numbers = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    info = {"fixed file": numbers(file_ms, file_ls), "fixed product": numbers(product_ms, product_ls),
            "strings": {}, "tables": [], "translations": []}
    for child_key, _, _, grandchildren, _ in children:
        if child_key == "StringFileInfo":
            for table_key, _, _, strings, _ in grandchildren:
                info["tables"].append(table_key)
                for name, value, _, _, _ in strings:
                    info["strings"][name] = value.decode("utf-16-le").rstrip("\0")
        elif child_key == "VarFileInfo":
            for _, value, _, _, _ in grandchildren:
                for index in range(0, len(value) - 3, 4):
                    info["translations"].append(struct.unpack_from("<HH", value, index))
    return info


def problems(path, version):
    info = read_version(path)
    strings = info["strings"]
    found = []
    expected_numbers = tuple(int(part) for part in (version.split(".") + ["0"] * 4)[:4])
    for name in ("FileVersion", "ProductVersion"):
        if strings.get(name) != version:
            found.append("%s is %r, not %r" % (name, strings.get(name), version))
    for name in ("fixed file", "fixed product"):
        if info[name] != expected_numbers:
            found.append("the %s version is %s, not %s" % (name, info[name], expected_numbers))
    if strings.get("ProductName") != "Velmora":
        found.append("ProductName is %r" % strings.get("ProductName"))
    if strings.get("OriginalFilename", "").lower() != os.path.basename(path).lower():
        found.append("OriginalFilename is %r" % strings.get("OriginalFilename"))
    description = strings.get("FileDescription", "")
    # Japanese: at least one character of the CJK or kana blocks, and no replacement characters.
    if not any("\u3040" <= ch <= "\u30ff" or "\u4e00" <= ch <= "\u9fff" for ch in description) or "\ufffd" in description:
        found.append("FileDescription %r is not Japanese" % description)
    if info["tables"] != ["041104B0"] or info["translations"] != [(0x411, 1200)]:
        found.append("tables %s, translations %s: not Japanese/Unicode" % (info["tables"], info["translations"]))
    return found


def main(arguments):
    if len(arguments) == 2 and arguments[0] == "--show":
        info = read_version(arguments[1])
        for name, value in sorted(info["strings"].items()):
            print("%s: %s" % (name, value))
        print("fixed file version: %d.%d.%d.%d" % info["fixed file"])
        return 0
    if len(arguments) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    version, programs = arguments[0], arguments[1:]
    failed = 0
    for program in programs:
        try:
            found = problems(program, version)
        except (ValueError, struct.error, OSError, StopIteration) as error:
            found = [str(error)]
        name = os.path.basename(program)
        if found:
            failed += 1
            for problem in found:
                print("FAIL: %s: %s" % (name, problem))
        else:
            print("ok: %s carries version %s" % (name, version))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
