// Structural variants of one small document written by qpdf: object streams, linearization,
// uncompressed streams and QDF. Each of them loads with the same content.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/optional_content.h"
#include "pdf/document_values.h"
#include "pdf/file_buffer.h"
#include "pdf/error_list.h"
#include "pdf/security_handler.h"
#include "convert/page_setup.h"
#include "reader_fixture.h"
#include "support/pdf_maker.h"

#ifndef _WIN32
#include <stdlib.h>  // mkdtemp
#include <sys/wait.h>
#endif

namespace velmora {
namespace {

using test_support::FlateStreamBody;
using test_support::PdfMaker;
using Vec = std::vector<int>;

const char kFirstContent[] = "10 10 m 200 300 l S\n";
const char kSecondContent[] = "0 0 m 50 50 l 100 0 l S\n";

// Two pages, a font, an Info dictionary, a PDF layer with a name: the document qpdf rewrites.
[[maybe_unused]] std::string BaseDocument() {
    PdfMaker pdf("%PDF-1.5\n");
    pdf.Add(1, "<</Type/Catalog/Pages 3 0 R/OCProperties <</OCGs [9 0 R]/D <</Order [9 0 R]>>>>>>");
    pdf.Add(2, "<</Creator (velmora tests)/Producer (tests)>>");
    pdf.Add(3, "<</Type/Pages/Kids [4 0 R 7 0 R]/Count 2>>");
    pdf.Add(4, "<</Type/Page/Parent 3 0 R/MediaBox [0 0 595 842]/Resources <</Font <</F1 6 0 R>>>>/Contents 5 0 R>>");
    pdf.Add(5, FlateStreamBody("", kFirstContent));
    pdf.Add(6, "<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>");
    pdf.Add(7, "<</Type/Page/Parent 3 0 R/MediaBox [0 0 842 595]/Rotate 90/Resources <</Font <</F1 10 0 R>>>>/Contents 8 0 R>>");
    pdf.Add(8, FlateStreamBody("", kSecondContent));
    pdf.Add(9, "<</Type/OCG/Name (Walls)>>");
    pdf.Add(10, "<</Type/Font/Subtype/Type0/BaseFont/Ryumin-Light/Encoding/Identity-H/DescendantFonts [11 0 R]>>");
    pdf.Add(11, "<</Type/Font/Subtype/CIDFontType0/BaseFont/Ryumin-Light"
                "/CIDSystemInfo <</Registry (Adobe)/Ordering (Japan1)/Supplement 2>>>>");
    return pdf.Finish(pdf.ClassicXref("/Root 1 0 R/Info 2 0 R"));
}

class QpdfVariants : public ReaderTest {
protected:
    void SetUp() override {
        ReaderTest::SetUp();
#ifdef _WIN32
        GTEST_SKIP() << "qpdf is a Linux program; the native and sanitizer builds run these variants";
#else
        if (std::system("qpdf --version >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "qpdf is not installed; scripts/install_deps.sh --tests installs it";
        }
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora_qpdf_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        std::ofstream(directory_ / "in.pdf", std::ios::binary) << BaseDocument();
#endif
    }
    void TearDown() override {
        if (!directory_.empty()) std::filesystem::remove_all(directory_);
        ReaderTest::TearDown();
    }
    // qpdf with `options` over the base document; the output's bytes (exit 3 means warnings).
    std::string Qpdf(const std::string& options) {
#ifdef _WIN32
        (void)options;
        return {};
#else
        const std::string command = "qpdf " + options + " '" + (directory_ / "in.pdf").string() + "' '" +
                                    (directory_ / "out.pdf").string() + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(status == 0 || WEXITSTATUS(status) == 3) << command;
        std::ifstream file(directory_ / "out.pdf", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
#endif
    }
    // Sets up both pages and returns their decoded content.
    std::vector<std::string> SetUpPages() {
        std::vector<std::string> contents;
        for (int page = 1; page <= g_store.page_count; ++page) {
            FreePageStreams();
            ResetForPage(page);
            EXPECT_TRUE(SetUpPage(page)) << page;
            contents.push_back(EntryBytes(1));
        }
        return contents;
    }
    std::filesystem::path directory_;
};

std::string Appended(int n) {
    const ObjectEntry& entry = g_store.objects[n];
    return std::string(reinterpret_cast<const char*>(g_file.data) + entry.offset, entry.extent);
}

TEST_F(QpdfVariants, ObjectStreamsAndTheirLineFeedEndedHeadersLoad) {
    Load(Qpdf("--object-streams=generate"));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_document.xref_stream_flag, 1);
    EXPECT_EQ(g_store.object_count, g_document.trailer_size);
    // The catalog lies in an object stream; its copy behind the file is its dictionary.
    const ObjectEntry& root = g_store.objects[g_document.root.number];
    ASSERT_GT(root.stream_object, 0);
    EXPECT_GE(root.offset, g_file.file_size);
    EXPECT_NE(Appended(g_document.root.number).find("/Type /Catalog"), std::string::npos);
    ASSERT_EQ(g_store.page_count, 2);
    EXPECT_EQ(SetUpPages(), (std::vector<std::string>{kFirstContent, kSecondContent}));
}

// Protected files as qpdf writes them: each method with the empty and with a given user
// password, strings and object streams encrypted; a wrong or missing password opens nothing.
TEST_F(QpdfVariants, ProtectedFilesOpenWithTheirUserPassword) {
    struct Case {
        const char* options;
        const char* password;
        const char* method;
    };
    const Case cases[] = {
        {"--allow-weak-crypto --encrypt '' owner 40 -- --object-streams=disable", "", "R 2, 40-bit RC4"},
        {"--allow-weak-crypto --encrypt '' owner 128 --use-aes=n -- --object-streams=generate", "", "R 3, 128-bit RC4"},
        {"--allow-weak-crypto --encrypt user owner 128 --use-aes=y -- --object-streams=generate", "user", "R 4, 128-bit AES-128 (AESV2)"},
        {"--encrypt '' owner 256 -- --object-streams=generate", "", "R 6, 256-bit AES-256 (AESV3)"},
        {"--encrypt secret owner 256 -- --object-streams=generate", "secret", "R 6, 256-bit AES-256 (AESV3)"},
    };
    for (const Case& c : cases) {
        const std::string file = Qpdf(c.options);
        SetDocumentPassword(c.password);
        Load(file);
        EXPECT_EQ(Codes(), Vec{}) << c.options;
        EXPECT_EQ(EncryptionDescription(), c.method) << c.options;
        ASSERT_EQ(g_store.page_count, 2) << c.options;
        EXPECT_EQ(SetUpPages(), (std::vector<std::string>{kFirstContent, kSecondContent})) << c.options;
        // The layer's name is a string of its own object (encrypted unless kept in an object stream).
        ASSERT_EQ(g_optional_content.count, 1) << c.options;
        EXPECT_STREQ(g_optional_content.groups[1].name, "Walls") << c.options;
        // The font's character collection is read through the same decryption.
        bool japan1 = false;
        for (int k = 1; k <= g_store.font_count; ++k) japan1 = japan1 || g_store.fonts[k].conversion_type == kConversionAdobeJapan1;
        EXPECT_TRUE(japan1) << c.options;
        if (std::string(c.password).empty()) continue;
        SetDocumentPassword("");
        Load(file);
        EXPECT_EQ(Codes(), Vec{kErrorPasswordRequired}) << c.options;
        SetDocumentPassword("wrong");
        Load(file);
        EXPECT_EQ(Codes(), Vec{kErrorWrongPassword}) << c.options;
        EXPECT_EQ(g_store.page_count, 0);
    }
    SetDocumentPassword("");
}

TEST_F(QpdfVariants, LinearizedFileLoadsThroughBothTables) {
    Load(Qpdf("--linearize --object-streams=disable"));
    EXPECT_EQ(Codes(), Vec{});
    EXPECT_EQ(g_document.xref_stream_flag, 0);
    EXPECT_EQ(g_document.first_object_number, 0);  // the main table is read last
    EXPECT_EQ(g_store.object_count, g_document.trailer_size);
    EXPECT_STREQ(g_store.objects[g_document.root.number].label, "Catalog ");  // qpdf writes "/Type /Catalog /Pages"
    ASSERT_EQ(g_store.page_count, 2);
    EXPECT_EQ(SetUpPages(), (std::vector<std::string>{kFirstContent, kSecondContent}));
    EXPECT_EQ(g_store.pages[2].media_box[2], 595);  // Rotate 90 swaps the box
    EXPECT_EQ(g_store.pages[2].media_box[3], 842);

    // With object streams the main section's stream has no Root; the first-page one gives it.
    Load(Qpdf("--linearize --object-streams=generate"));
    EXPECT_EQ(Codes(), Vec{});
    ASSERT_EQ(g_store.page_count, 2);
    EXPECT_EQ(SetUpPages(), (std::vector<std::string>{kFirstContent, kSecondContent}));
}

TEST_F(QpdfVariants, UncompressedAndQdfFilesLoadWithTheSameContent) {
    Load(Qpdf("--compress-streams=n --decode-level=generalized"));
    EXPECT_EQ(Codes(), Vec{});
    ASSERT_EQ(g_store.page_count, 2);
    EXPECT_EQ(std::string(g_store.objects[g_store.pages[1].contents_objects[0]].label).find("FlateDecode"),
              std::string::npos);
    EXPECT_EQ(SetUpPages(), (std::vector<std::string>{kFirstContent, kSecondContent}));

    Load(Qpdf("--qdf"));
    EXPECT_EQ(Codes(), Vec{});
    ASSERT_EQ(g_store.page_count, 2);
    EXPECT_EQ(SetUpPages(), (std::vector<std::string>{kFirstContent, kSecondContent}));
    EXPECT_STREQ(g_document.creator_text, "Creator (velmora tests)");
}

}  // namespace
}  // namespace velmora
