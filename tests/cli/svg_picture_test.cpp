// The SVG picture of a page: read back with a small XML reader and checked element by element.
#include "cli/svg_picture.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jww/jww_fixture.h"
#include "jww/jww_writer.h"

namespace velmora {
namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;  // character data directly inside, entities resolved
    std::string Get(const std::string& key) const {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
};

std::string Unescaped(const std::string& raw, std::string* error) {
    static const std::map<std::string, char> kEntities = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '<') *error = "raw '<' in character data";
        if (raw[i] != '&') {
            out += raw[i];
            continue;
        }
        const size_t end = raw.find(';', i);
        const auto found = end == std::string::npos ? kEntities.end() : kEntities.find(raw.substr(i + 1, end - i - 1));
        if (found == kEntities.end()) {
            *error = "bad entity at " + raw.substr(i, 8);
            return out;
        }
        out += found->second;
        i = end;
    }
    return out;
}

// Well-formed for what the writer produces: one declaration, properly nested elements, quoted
// attributes, known entities only. Returns the elements in document order.
bool ReadXml(const std::string& xml, std::vector<Element>* elements, std::string* error) {
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    if (xml.compare(0, declaration.size(), declaration) != 0) return *error = "no XML declaration", false;
    size_t at = declaration.size();
    std::vector<size_t> open;  // indices into *elements
    bool seen_root = false;
    while (at < xml.size()) {
        const size_t tag = xml.find('<', at);
        const std::string data = xml.substr(at, (tag == std::string::npos ? xml.size() : tag) - at);
        const std::string text = Unescaped(data, error);
        if (!error->empty()) return false;
        if (open.empty() && text.find_first_not_of(" \n") != std::string::npos) return *error = "text outside root", false;
        if (!open.empty()) (*elements)[open.back()].text += text;
        if (tag == std::string::npos) break;
        const size_t close = xml.find('>', tag);
        if (close == std::string::npos) return *error = "unclosed tag", false;
        std::string inside = xml.substr(tag + 1, close - tag - 1);
        if (inside.empty()) return *error = "empty tag", false;
        at = close + 1;
        if (inside[0] == '/') {
            if (open.empty() || (*elements)[open.back()].name != inside.substr(1)) {
                return *error = "mismatched </" + inside.substr(1) + ">", false;
            }
            open.pop_back();
            continue;
        }
        const bool empty = inside.back() == '/';
        if (empty) inside.pop_back();
        if (open.empty() && seen_root) return *error = "second root element", false;
        seen_root = true;
        Element element;
        size_t p = inside.find(' ');
        element.name = inside.substr(0, p);
        while (p != std::string::npos && p < inside.size()) {
            p = inside.find_first_not_of(' ', p);
            if (p == std::string::npos) break;
            const size_t equals = inside.find('=', p);
            if (equals == std::string::npos || equals + 1 >= inside.size() || inside[equals + 1] != '"') {
                return *error = "unquoted attribute in <" + element.name + ">", false;
            }
            const size_t end = inside.find('"', equals + 2);
            if (end == std::string::npos) return *error = "unterminated attribute", false;
            const std::string name = inside.substr(p, equals - p);
            if (element.attributes.count(name)) return *error = "repeated attribute " + name, false;
            element.attributes[name] = Unescaped(inside.substr(equals + 2, end - equals - 2), error);
            if (!error->empty()) return false;
            p = end + 1;
        }
        elements->push_back(element);
        if (!empty) open.push_back(elements->size() - 1);
    }
    if (!open.empty()) return *error = "unclosed <" + (*elements)[open.back()].name + ">", false;
    return seen_root;
}

std::string Utf8(const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); }

class SvgPictureTest : public JwwTest {
protected:
    void SetUp() override {
        JwwTest::SetUp();
        g_settings.screen_colours[0] = Rgb{0, 0, 16};
        g_settings.screen_colours[2] = Rgb{255, 128, 0};
        g_settings.screen_colours[3] = Rgb{0, 255, 0};
        g_settings.screen_colours[5] = Rgb{300, -4, 171};  // out of range: clamped
        g_settings.screen_colours[6] = Rgb{200, 200, 200};
        g_settings.text_pen = 6;
    }

    // Writes the page, checks the structure, and returns the elements by name.
    std::map<std::string, std::vector<Element>> Picture(std::string* raw = nullptr) {
        const std::string path = PathOf("page.svg");
        EXPECT_TRUE(SaveSvgPicture(path.c_str(), 1));
        const std::vector<uint8_t> bytes = ReadBytes(path);
        const std::string xml(bytes.begin(), bytes.end());
        if (raw != nullptr) *raw = xml;
        std::vector<Element> elements;
        std::string error;
        EXPECT_TRUE(ReadXml(xml, &elements, &error)) << error << "\n" << xml;
        std::map<std::string, std::vector<Element>> by_name;
        for (const Element& element : elements) by_name[element.name].push_back(element);
        return by_name;
    }
};

TEST_F(SvgPictureTest, LinesInPenColoursAndStylesOnTheBackground) {
    AddLine(10, -20, 110, -20);                       // pen 2, solid
    AddLine(110, -20, 110, -220.5).pen_style = 3;     // dashed
    LineRecord& dash_dot = AddLine(0, 0, 50, -50);
    dash_dot.pen_style = 5;
    dash_dot.pen_colour = 5;
    AddLine(1, -2, 3, -4).page_number = -1;           // absorbed by dash merging: not drawn
    AddLine(20, -30, 40, -30).pen_colour = 3;

    auto picture = Picture();
    ASSERT_EQ(picture["svg"].size(), 1u);
    EXPECT_EQ(picture["svg"][0].Get("viewBox"), "0 0 595.28 841.89");
    EXPECT_EQ(picture["svg"][0].Get("xmlns"), "http://www.w3.org/2000/svg");
    ASSERT_EQ(picture["rect"].size(), 1u);
    EXPECT_EQ(picture["rect"][0].Get("fill"), "#000010");

    const std::vector<Element>& paths = picture["path"];
    ASSERT_EQ(paths.size(), 4u);
    const struct {
        const char* stroke;
        const char* dashes;  // empty: solid
        const char* d;
    } expected[] = {
        {"#ff8000", "", "M10 20L110 20"},
        {"#ff8000", "18 6", "M110 20L110 220.5"},
        {"#ff00ab", "9 6 3 6", "M0 0L50 50"},
        {"#00ff00", "", "M20 30L40 30"},
    };
    for (size_t i = 0; i < paths.size(); ++i) {
        const Element& path = paths[i];
        EXPECT_EQ(path.Get("stroke"), expected[i].stroke) << i;
        EXPECT_EQ(path.Get("stroke-dasharray"), expected[i].dashes) << i;
        EXPECT_EQ(path.Get("d"), expected[i].d) << i;
        EXPECT_EQ(path.Get("vector-effect"), "non-scaling-stroke") << i;
    }
}

TEST_F(SvgPictureTest, ConsecutiveLinesOfOneStyleShareAPath) {
    AddLine(0, 0, 1, -1);
    AddLine(1, -1, 2.25, -2);
    AddLine(2, -2, 3, -3).pen_style = 3;
    AddLine(3, -3, 4, -4);
    auto picture = Picture();
    ASSERT_EQ(picture["path"].size(), 3u);  // the order of the records is kept
    EXPECT_EQ(picture["path"][0].Get("d"), "M0 0L1 1M1 1L2.25 2");
    EXPECT_EQ(picture["path"][2].Get("d"), "M3 3L4 4");
}

TEST_F(SvgPictureTest, LongRunsAreSplitIntoPathsOfAThousandSegments) {
    for (int i = 0; i < 2500; ++i) AddLine(i, -1, i + 1, -1);
    auto picture = Picture();
    ASSERT_EQ(picture["path"].size(), 3u);
    size_t segments = 0;
    for (const Element& path : picture["path"]) {
        const std::string d = path.Get("d");
        segments += static_cast<size_t>(std::count(d.begin(), d.end(), 'M'));
    }
    EXPECT_EQ(segments, 2500u);
    const std::string last = picture["path"][2].Get("d");
    EXPECT_EQ(last.rfind("M2000 1L2001 1", 0), 0u);
    EXPECT_EQ(last.substr(last.size() - 14), "M2499 1L2500 1");
}

TEST_F(SvgPictureTest, TextsInUtf8WithSizeAngleAndEscaping) {
    AddText("平面図", 100, -200, 12);
    AddText("A<&>\"B'", 50, -60.5, 3.5, 90);  // the angle comes from the base line, as in the preview
    AddText("平面図", 100, -200, 12);  // a repeat: marked and left out, as the writer does
    ASSERT_EQ(MarkDuplicateTexts(), 1);
    TextRecord& outside = AddText("lost", 0, 0, 5);
    outside.string_offset = kTextPoolBytes;  // points outside the pool: skipped

    std::string raw;
    auto picture = Picture(&raw);
    const std::vector<Element>& texts = picture["text"];
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, Utf8(u8"平面図"));
    EXPECT_EQ(texts[0].Get("x"), "100");
    EXPECT_EQ(texts[0].Get("y"), "200");
    EXPECT_EQ(texts[0].Get("font-size"), "12");
    EXPECT_EQ(texts[0].attributes.count("transform"), 0u);
    EXPECT_EQ(texts[1].text, "A<&>\"B'");
    EXPECT_EQ(texts[1].Get("font-size"), "3.5");
    EXPECT_EQ(texts[1].Get("transform"), "rotate(-90 50 60.5)");
    EXPECT_NE(raw.find("A&lt;&amp;&gt;&quot;B&apos;</text>"), std::string::npos);
    // Texts take the colour of the text pen setting.
    bool coloured = false;
    for (const Element& g : picture["g"]) coloured |= g.Get("fill") == "#c8c8c8";
    EXPECT_TRUE(coloured);
}

TEST_F(SvgPictureTest, AVerticalTextIsOneTextWhoseCharactersStandInTspans) {
    test_support::AddVerticalText("縦書", 100, -200, 10, 2, 2);
    auto picture = Picture();
    ASSERT_EQ(picture["text"].size(), 1u);
    EXPECT_EQ(picture["text"][0].Get("font-size"), "10");
    const std::vector<Element>& spans = picture["tspan"];
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].text, Utf8(u8"縦"));
    EXPECT_EQ(spans[1].text, Utf8(u8"書"));
    EXPECT_EQ(spans[0].Get("x"), "100");
    EXPECT_EQ(spans[0].Get("y"), "210");
    EXPECT_EQ(spans[1].Get("y"), "222");
}

TEST_F(SvgPictureTest, FontNamesAndControlCharactersStayValidXml) {
    std::snprintf(g_store.jww_font_names[1], kFontNameBytes, "%s", "ＭＳ ゴシック");
    AddText(std::string("a\x01" "b"), 10, -10, 5);
    auto picture = Picture();
    ASSERT_EQ(picture["text"].size(), 1u);
    EXPECT_EQ(picture["text"][0].text, "a?b");
    EXPECT_EQ(picture["text"][0].Get("font-family"), Utf8(u8"ＭＳ ゴシック") + ", monospace");
}

TEST_F(SvgPictureTest, EmptyPageAndUnusableMediaBox) {
    SetMediaBox(0, 0, 0, 0);
    auto picture = Picture();
    EXPECT_EQ(picture["svg"][0].Get("viewBox"), "0 0 595 842");
    EXPECT_EQ(picture["path"].size(), 0u);
    EXPECT_EQ(picture["text"].size(), 0u);
}

TEST_F(SvgPictureTest, FailuresAndPaths) {
    EXPECT_FALSE(SaveSvgPicture(PathOf("missing/page.svg").c_str(), 1));
    // A stream that cannot be written to: the failure is reported.
    const std::string path = PathOf("read-only.svg");
    std::FILE* created = std::fopen(path.c_str(), "wb");
    ASSERT_NE(created, nullptr);
    std::fclose(created);
    std::FILE* reading = std::fopen(path.c_str(), "rb");
    ASSERT_NE(reading, nullptr);
    EXPECT_FALSE(WriteSvgPicture(reading, 1));
    std::fclose(reading);

    EXPECT_EQ(SvgPathFor("out/plan-02.jww"), "out/plan-02.svg");
    EXPECT_EQ(SvgPathFor("PLAN.JWW"), "PLAN.svg");
    EXPECT_EQ(SvgPathFor("plan"), "plan.svg");
    EXPECT_EQ(SvgPathFor("plan.pdf"), "plan.pdf.svg");
}

}  // namespace
}  // namespace velmora
