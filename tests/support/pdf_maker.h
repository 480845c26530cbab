// Small PDFs written by the tests themselves: objects at known offsets, classic tables with any
// subsections, cross-reference streams (PNG Up rows, deflated, or neither), object streams.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test_support {

inline std::string Deflate(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
              static_cast<uLong>(data.size()), Z_BEST_COMPRESSION);
    out.resize(size);
    return out;
}

// "<<dict /Length n>>" then "stream", the end of line, the data and "endstream".
inline std::string StreamBody(const std::string& dict, const std::string& data, const std::string& eol = "\n") {
    return "<<" + dict + "/Length " + std::to_string(data.size()) + ">>\nstream" + eol + data + "\nendstream";
}

inline std::string FlateStreamBody(const std::string& dict, const std::string& data) {
    return StreamBody("/Filter/FlateDecode" + dict, Deflate(data));
}

// An object stream holding `objects` (number, text); the header's pairs are separated by
// `separator` and end with `header_end` (a line feed as qpdf writes).
inline std::string ObjectStreamBody(const std::vector<std::pair<int, std::string>>& objects,
                                    const std::string& header_end = " ", const std::string& separator = " ") {
    std::string header, body;
    for (size_t i = 0; i < objects.size(); ++i) {
        header += (i ? separator : "") + std::to_string(objects[i].first) + " " + std::to_string(body.size());
        body += objects[i].second;
    }
    header += header_end;
    return FlateStreamBody("/Type/ObjStm/N " + std::to_string(objects.size()) + "/First " + std::to_string(header.size()),
                           header + body);
}

struct XrefStreamOptions {
    int widths[3] = {1, 2, 1};  // 0 to 8 bytes; a type field of width 0 leaves every row type 1
    int first = 0;
    int count = -1;             // -1: Size entries from 0, no /Index
    // More than one subsection: (first, count) pairs, written as /Index [ f c f c ... ] with
    // spaces inside the brackets, as some writers do; `first` and `count` are then unused.
    std::vector<std::pair<int, int>> subsections;
    bool index = false;
    bool info = true;
    bool decode_parms = true;   // false: rows without PNG filter bytes
    std::string filter = "/Filter/FlateDecode";
    std::string extra;          // more dictionary entries, e.g. "/Prev 123"
};

class PdfMaker {
public:
    explicit PdfMaker(std::string header = "%PDF-1.4\n") : bytes(std::move(header)) {}

    int Add(int number, const std::string& body) {
        const int offset = static_cast<int>(bytes.size());
        offsets[number] = offset;
        bytes += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
        return offset;
    }

    // Subsections (first, count), lines ending in `eol` (two bytes make the usual 20-byte lines);
    // returns the offset of "xref".
    int ClassicTable(const std::vector<std::pair<int, int>>& subsections, const std::string& trailer_dict,
                     const std::string& eol = "\r\n") {
        const int position = static_cast<int>(bytes.size());
        bytes += "xref\n";
        for (const auto& [first, count] : subsections) {
            bytes += std::to_string(first) + " " + std::to_string(count) + "\n";
            for (int e = first; e < first + count; ++e) bytes += XrefLine(e, eol);
        }
        bytes += "trailer\n<<" + trailer_dict + ">>\n";
        return position;
    }

    // One subsection from `first` over `count` entries; returns the offset of "xref".
    int ClassicXref(int first, int count, const std::string& trailer_dict) {
        return ClassicTable({{first, count}}, trailer_dict);
    }

    // The usual table: entries 0 to the highest object number.
    int ClassicXref(const std::string& trailer_dict) {
        const int size = offsets.empty() ? 1 : offsets.rbegin()->first + 1;
        return ClassicXref(0, size, "/Size " + std::to_string(size) + trailer_dict);
    }

    // A free entry's offset is the next free object's number: `free_links`, or 0.
    std::string XrefLine(int e, const std::string& eol = "\r\n") const {
        char line[24];
        const auto found = offsets.find(e);
        if (found != offsets.end()) {
            std::snprintf(line, sizeof line, "%010d 00000 n", found->second);
        } else {
            const auto link = free_links.find(e);
            std::snprintf(line, sizeof line, "%010d %05d f", link != free_links.end() ? link->second : 0, e == 0 ? 65535 : 0);
        }
        return line + eol;
    }

    // A cross-reference stream as object `number`: type 1 rows for the objects written so far
    // (and itself), type 2 rows for `compressed` (number -> stream, index), type 0 otherwise.
    int XrefStream(int number, int size, const std::map<int, std::pair<int, int>>& compressed,
                   const XrefStreamOptions& options = {}) {
        const int position = static_cast<int>(bytes.size());
        offsets[number] = position;
        const int first = options.index ? options.first : 0;
        const int count = options.index ? options.count : size;
        const int row_bytes = options.widths[0] + options.widths[1] + options.widths[2];
        std::vector<int> numbers;
        for (const auto& [from, n] : options.subsections) {
            for (int e = from; e < from + n; ++e) numbers.push_back(e);
        }
        if (options.subsections.empty()) {
            for (int e = first; e < first + count; ++e) numbers.push_back(e);
        }
        std::string rows;
        std::string previous(row_bytes, '\0');
        for (const int e : numbers) {
            uint64_t fields[3] = {0, 0, 0};
            if (offsets.count(e)) {
                fields[0] = 1;
                fields[1] = static_cast<uint64_t>(offsets.at(e));
            } else if (compressed.count(e)) {
                fields[0] = 2;
                fields[1] = static_cast<uint64_t>(compressed.at(e).first);
                fields[2] = static_cast<uint64_t>(compressed.at(e).second);
            }
            std::string row;
            for (int k = 0; k < 3; ++k) {
                // Bytes beyond the 64 bits of a value (a width above 8) are zero.
                for (int b = options.widths[k] - 1; b >= 0; --b) {
                    row += static_cast<char>(b < 8 ? (fields[k] >> (8 * b)) & 0xFF : 0);
                }
            }
            if (!options.decode_parms) {
                rows += row;
                continue;
            }
            rows += '\x02';  // PNG Up
            for (int c = 0; c < row_bytes; ++c) rows += static_cast<char>(row[c] - previous[c]);
            previous = row;
        }
        std::string dict = "/Type/XRef/Size " + std::to_string(size) + "/W [" + std::to_string(options.widths[0]) +
                           " " + std::to_string(options.widths[1]) + " " + std::to_string(options.widths[2]) +
                           "]/Root 1 0 R";
        if (options.info) dict += "/Info 2 0 R";
        if (options.index) dict += "/Index [" + std::to_string(first) + " " + std::to_string(count) + "]";
        if (!options.subsections.empty()) {
            dict += "/Index [ ";
            for (const auto& [from, n] : options.subsections) dict += std::to_string(from) + " " + std::to_string(n) + " ";
            dict += "]";
        }
        if (options.decode_parms) dict += "/DecodeParms<</Columns " + std::to_string(row_bytes) + "/Predictor 12>>";
        dict += options.extra;
        const std::string data = options.filter.empty() ? rows : Deflate(rows);
        bytes += std::to_string(number) + " 0 obj\n" + StreamBody(options.filter + dict, data) + "\nendobj\n";
        return position;
    }

    std::string Finish(int startxref) {
        bytes += "startxref\n" + std::to_string(startxref) + "\n%%EOF\n";
        return bytes;
    }

    std::string bytes;
    std::map<int, int> offsets;
    std::map<int, int> free_links;
};

// Catalog 1, Info 2, Pages 3, one page 4 (`page_entries` after its Parent) with content 5.
inline PdfMaker PageDocument(const std::string& page_entries, const std::string& content) {
    PdfMaker pdf;
    pdf.Add(1, "<</Type/Catalog/Pages 3 0 R>>");
    pdf.Add(2, "<</Creator (Test maker)/Producer (tests)>>");
    pdf.Add(3, "<</Type/Pages/Kids [4 0 R]/Count 1>>");
    pdf.Add(4, "<</Type/Page/Parent 3 0 R" + page_entries + "/Contents 5 0 R>>");
    pdf.Add(5, FlateStreamBody("", content));
    return pdf;
}

// The usual small document: PageDocument with font 6 as the page's F1.
inline PdfMaker OnePageDocument(const std::string& page_extra = "/MediaBox [0 0 595 842]",
                                const std::string& content = "0 0 m 100 100 l S") {
    PdfMaker pdf = PageDocument(page_extra + "/Resources <</Font <</F1 6 0 R>>>>", content);
    pdf.Add(6, "<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>");
    return pdf;
}

// A hybrid file: the usual document whose table leaves object 3, the page tree, free, while the
// cross-reference stream its trailer names (/XRefStm) holds it in object stream 9. `to_itself`
// names the table's own position instead, which is no stream.
inline std::string HybridDocument(bool to_itself = false) {
    PdfMaker pdf = OnePageDocument();
    pdf.offsets.erase(3);
    pdf.Add(9, ObjectStreamBody({{3, "<</Type/Pages/Kids [4 0 R]/Count 1>>"}}));
    XrefStreamOptions options;
    options.index = true;
    options.first = 3;
    options.count = 1;
    const int stream = pdf.XrefStream(10, 11, {{3, {9, 0}}}, options);
    pdf.offsets.erase(10);
    const int table = static_cast<int>(pdf.bytes.size());
    pdf.ClassicXref(0, 10, "/Size 11/Root 1 0 R/XRefStm " + std::to_string(to_itself ? table : stream));
    return pdf.Finish(table);
}

// One page of 200 × 100 points for text tests: PageDocument with the given Resources value and
// the test's fonts and other objects (numbered from 10), finished.
inline std::string TextPagePdf(const std::string& resources, const std::string& content,
                               const std::map<int, std::string>& objects) {
    PdfMaker pdf = PageDocument("/MediaBox [0 0 200 100]/Resources " + resources, content);
    for (const auto& [number, body] : objects) pdf.Add(number, body);
    return pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"));
}

}  // namespace velmora::test_support
